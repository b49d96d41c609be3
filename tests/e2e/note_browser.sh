# The Note Browser in the real exe: opened from the system menu command, an
# item selected, edited and saved, another deleted with Yes; the files and
# the main window's note panel follow.
source "$(dirname "$0")/e2e_lib.bash"

user=$(Probe user) || Fail "no user name"
notes="$E2eDir/Quorrin Notes/$user"
mkdir -p "$notes"
printf 'five\0' > "$notes/5.qnote"
printf 'no connection\0' > "$notes/12029.qnote"
printf 'denied\0' > "$notes/80070005.qnote"

StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "five" 20000 || Fail "the main window does not show the note of 5"

Probe syscommand Quorrin $IDM_BROWSE_NOTES
Probe wait "Note Browser" 20000 >/dev/null || Fail "the Note Browser did not open"
[ "$(Probe enabled "Note Browser" $IDC_BROWSER_SAVE)" = 0 ] || Fail "Save Note is enabled with nothing selected"

# The first row, then the arrow keys: the notes come in the list's order.
xdotool mousemove $(Probe corner "Note Browser" $IDC_BROWSER_LIST 12 8) click 1
Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "no connection" 10000 || Fail "the first item is not 12029"
TypeInto "Note Browser" key Down
Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "five" 10000 || Fail "the second item is not 5"
TypeInto "Note Browser" key Down
Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "denied" 10000 || Fail "the third item is not 80070005"
TypeInto "Note Browser" key Up

Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "five" 10000 || Fail "could not go back to 5"
Probe settext "Note Browser" $IDC_BROWSER_EDITOR "five, edited"
ClickControl "Note Browser" $IDC_BROWSER_SAVE
Probe wait-text Quorrin $IDC_NOTE_EDITOR "five, edited" 10000 || Fail "the main window did not follow the save"
mkdir -p "$QUORRIN_BUILD/screenshots"
import -window "$(XWindow "Note Browser")" "$QUORRIN_BUILD/screenshots/note-browser.png"
[ "$(od -An -c "$notes/5.qnote" | tr -d ' \n')" = 'five,edited\0' ] || Fail "5.qnote: $(od -An -c "$notes/5.qnote")"

xdotool mousemove $(Probe corner "Note Browser" $IDC_BROWSER_LIST 12 8) click 1
TypeInto "Note Browser" key Down Down
Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "denied" 10000 || Fail "could not select 80070005"
ClickControl "Note Browser" $IDC_BROWSER_DELETE
question=$(Probe answer "Confirm Delete" 6 20000) || Fail "no Confirm Delete question"
[ "$question" = "Are you sure you want to delete the note for error: 80070005" ] || Fail "asked: $question"
for i in $(seq 1 100); do [ -f "$notes/80070005.qnote" ] || break; sleep 0.1; done
[ ! -f "$notes/80070005.qnote" ] || Fail "80070005.qnote was not deleted"
[ "$(Probe enabled "Note Browser" $IDC_BROWSER_DELETE)" = 0 ] || Fail "Delete Note is still enabled after the deletion"
[ "$(Probe text Quorrin $IDC_NOTE_EDITOR)" = "five, edited" ] || Fail "deleting another note changed the main window"
[ -f "$notes/12029.qnote" ] && [ -f "$notes/5.qnote" ] || Fail "another note went missing"

Probe close "Note Browser"
Probe gone "Note Browser" 20000 || Fail "the Note Browser did not close"
CloseQuorrin
echo "ok"
