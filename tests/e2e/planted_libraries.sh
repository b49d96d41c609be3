# Libraries planted beside a renamed copy of Quorrin, under the names of the
# system libraries it loads, with Wine told to prefer a library beside the
# exe as Windows does: none of their code runs, the window opens, and 12029
# shows the system's own text.
E2eExe=Toolbox.exe
source "$(dirname "$0")/e2e_lib.bash"
: "${QUORRIN_PLANTED:?}"

Loader=bare_loader.exe
cp "$QUORRIN_PROBE" "$E2eDir/$Loader"
for library in RichEd32 RichEd20 Wininet; do
  cp "$QUORRIN_PLANTED" "$E2eDir/$library.dll"
  for exe in "$E2eExe" "$Loader"; do
    OverrideLibrary "$exe" "${library,,}" native,builtin
  done
done
Ran() { ls "$E2eDir" | grep '\.ran$' | tr '\n' ' '; }
InFolder() { (cd "$E2eDir" && wine "$@" | tr -d '\r'); }

# First, that the trap is set: a program beside them that loads by bare
# name runs their code and reads their texts.
InFolder "$Loader" load RichEd32 >/dev/null
InFolder "$Loader" load RichEd20 >/dev/null
[ "$(Ran)" = "RichEd20.dll.ran RichEd32.dll.ran " ] ||
  Fail "a load by bare name did not meet the planted libraries (ran: $(Ran))"
[ "$(InFolder "$Loader" message 12029 wininet)" = "Planted text for 12029" ] ||
  Fail "a load by bare name did not read the planted message table"
rm -f "$E2eDir"/*.ran

expected=$(Probe message 12029 wininet)
[ -n "$expected" ] || Fail "this system's Wininet.dll has no text for 12029"
[ "$expected" != "Planted text for 12029" ] || Fail "the probe read the planted table"

StartAndShow
[ -z "$(Ran)" ] || Fail "planted code ran inside Quorrin: $(Ran)"
LookUpTyped 12029
Probe wait-text Quorrin $IDC_CODE 12029 20000 >/dev/null || Fail "Code did not become 12029"
[ "$(Probe text Quorrin $IDC_DESCRIPTION)" = "$expected" ] ||
  Fail "the description is not the system's text: $(Probe text Quorrin $IDC_DESCRIPTION)"
CloseQuorrin
[ -z "$(Ran)" ] || Fail "planted code ran inside Quorrin: $(Ran)"
echo "ok"
