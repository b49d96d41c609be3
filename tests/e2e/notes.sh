# A person looks up 5, types a note, clicks Save Note, and finds the note
# again after starting Quorrin anew.
source "$(dirname "$0")/e2e_lib.bash"

user=$(Probe user) || Fail "no user name"
note="$E2eDir/Quorrin Notes/$user/5.qnote"

StartAndShow
[ -d "$E2eDir/Quorrin Notes/$user" ] || Fail "the notes folder was not created at start-up"
LookUpTyped "5"
Probe wait-text Quorrin $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish"
[ "$(Probe enabled Quorrin $IDC_SAVE_NOTE)" = 1 ] || Fail "Save Note is not enabled"
[ "$(Probe enabled Quorrin $IDC_DELETE_NOTE)" = 0 ] || Fail "Delete Note is enabled without a note"
ClickControl Quorrin $IDC_NOTE_EDITOR
TypeInto Quorrin type --delay 60 "Denied again"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "Denied again" 10000 || Fail "the typed note did not reach the editor"
ClickControl Quorrin $IDC_SAVE_NOTE
for i in $(seq 1 100); do [ -f "$note" ] && break; sleep 0.1; done
[ "$(od -An -tx1 "$note" | tr -d ' \n')" = "44656e69656420616761696e00" ] || Fail "note bytes: $(od -An -tx1 "$note")"
[ "$(Probe enabled Quorrin $IDC_DELETE_NOTE)" = 1 ] || Fail "Delete Note is not enabled after saving"
CloseQuorrin

StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "Denied again" 20000 || Fail "the saved note is not shown after a restart"
CloseQuorrin
echo "ok"
