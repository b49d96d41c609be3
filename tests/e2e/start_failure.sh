# When the main window cannot be created, Quorrin says so and exits with 1.
# The rich-edit library is disabled for this copy, so its class is missing.
E2eExe=NoRichEdit.exe
source "$(dirname "$0")/e2e_lib.bash"

OverrideLibrary "$E2eExe" riched32 ""
StartQuorrin
text=$(Probe answer Quorrin 1 60000)  # 1: IDOK || Fail "no message box appeared"
[ "$text" = "Quorrin could not open its window." ] || Fail "message box said: $text"
WaitQuorrin || Fail "Quorrin did not end"
[ "$QuorrinExit" = 1 ] || Fail "exit code $QuorrinExit, expected 1"
echo "ok"
