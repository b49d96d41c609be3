# Nothing a person types is lost without a word. With real keys: Esc in
# the note editor leaves Quorrin open; looking up another number asks
# first, Cancel keeps the text and Yes saves it; a pasted note that code
# page 1252 cannot hold is saved only after a warning, and then shows what
# the file holds; Ctrl+C copies out of the editor.
source "$(dirname "$0")/e2e_lib.bash"

[ "$(Probe acp)" = 1252 ] || Fail "the code page is $(Probe acp), not 1252"
user=$(Probe user) || Fail "no user name"
notes="$E2eDir/Quorrin Notes/$user"

StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish"
ClickControl Quorrin $IDC_NOTE_EDITOR
TypeInto Quorrin type --delay 60 "kept"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "kept" 10000 || Fail "the typed note did not reach the editor"
TypeInto Quorrin key Escape
sleep 2
Probe wait Quorrin 1000 >/dev/null || Fail "Esc in the note editor closed Quorrin"
[ "$(Probe text Quorrin $IDC_NOTE_EDITOR)" = "kept" ] || Fail "Esc changed the note"

# Another number: the question names the note; Cancel keeps everything.
Probe settext Quorrin $IDC_ERROR_FIELD 6
ClickControl Quorrin $IDC_ERROR_FIELD
TypeInto Quorrin key Return
question=$(Probe answer "Save Note" 2 20000) || Fail "no question before the lookup"
[ "$question" = "Do you want to save the changes to the note for error: 5?" ] || Fail "asked: $question"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "kept" 10000 || Fail "Cancel did not keep the note"
[ "$(Probe focus Quorrin)" = "$IDC_NOTE_EDITOR" ] || Fail "after Cancel the focus is on $(Probe focus Quorrin)"
[ ! -e "$notes/5.qnote" ] || Fail "Cancel saved the note"
[ "$(Probe text Quorrin $IDC_CODE)" = 5 ] || Fail "Cancel let the lookup run"

# Yes: saved, then looked up.
ClickControl Quorrin $IDC_ERROR_FIELD
TypeInto Quorrin key Return
Probe answer "Save Note" 6 20000 >/dev/null || Fail "no question the second time"
Probe wait-text Quorrin $IDC_CODE 6 20000 || Fail "Yes did not go on to the lookup of 6"
cmp -s "$notes/5.qnote" <(printf 'kept\0') || Fail "Yes did not save \"kept\": $(od -c "$notes/5.qnote")"

# Cyrillic pasted: the warning, No writes nothing, Yes saves the code
# page's spelling and the editor shows it.
Probe clip "Привет" || Fail "could not put the note on the clipboard"
ClickControl Quorrin $IDC_NOTE_EDITOR
TypeInto Quorrin key ctrl+v
ClickControl Quorrin $IDC_SAVE_NOTE
warning=$(Probe answer "Save Note" 7 20000) || Fail "no warning before saving Cyrillic"
[ "$warning" = "Some characters of the note for error: 6 cannot be stored in this system's code page and would be changed."$'\n\n'"Save it anyway?" ] ||
  Fail "warned: $warning"
[ ! -e "$notes/6.qnote" ] || Fail "No saved the note"
ClickControl Quorrin $IDC_SAVE_NOTE
Probe answer "Save Note" 6 20000 >/dev/null || Fail "no warning the second time"
for i in $(seq 1 100); do [ -f "$notes/6.qnote" ] && break; sleep 0.1; done
saved=$(tr -d '\0' < "$notes/6.qnote")
[ -n "$saved" ] && [ "$saved" != "Привет" ] || Fail "6.qnote holds \"$saved\""

# Ctrl+C: the clipboard holds the editor's text, which is the file's.
ClickControl Quorrin $IDC_NOTE_EDITOR
TypeInto Quorrin key ctrl+a ctrl+c
sleep 1
[ "$(Probe clipboard)" = "$saved" ] || Fail "the clipboard holds \"$(Probe clipboard)\", not \"$saved\""
CloseQuorrin
echo "ok"
