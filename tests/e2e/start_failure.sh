# When the main window cannot be created, Quorrin says so and exits with 1.
# A stand-in RichEd32.dll beside the exe leaves the rich-edit class unregistered.
source "$(dirname "$0")/e2e_lib.bash"
: "${QUORRIN_FAKE_RICHED:?}"

cp "$QUORRIN_FAKE_RICHED" "$E2eDir/RichEd32.dll"
export WINEDLLOVERRIDES="riched32=n;winedbg.exe=d;mscoree,mshtml="
StartQuorrin
text=$(Probe answer Quorrin 1 60000)  # 1: IDOK || Fail "no message box appeared"
[ "$text" = "Quorrin could not open its window." ] || Fail "message box said: $text"
WaitQuorrin || Fail "Quorrin did not end"
[ "$QuorrinExit" = 1 ] || Fail "exit code $QuorrinExit, expected 1"
echo "ok"
