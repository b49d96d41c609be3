# A Japanese user whose logon name begins with 表 (second byte 0x5C in code
# page 932) runs Quorrin renamed to ソフト.exe (ソ ends in 0x5C too), pastes
# a Japanese note, saves it, and finds it whole after starting again. The
# notes folder must sit beside the exe, named for the whole user name.
#
# The note is pasted with Ctrl+V: Wine's RichEdit20A turns each byte of a
# typed double-byte character into a character of its own.
export QUORRIN_LOCALE=ja_JP.UTF-8 USER=表dev E2eExe=ソフト.exe
source "$(dirname "$0")/e2e_lib.bash"

[ "$(Probe acp)" = 932 ] || Fail "the code page is $(Probe acp), not 932: is ja_JP.UTF-8 generated?"
# Wine hands out the ANSI name in code page 932, cut after as many bytes as
# it has characters; the notes folder is named for the whole name, as the
# system spells it, which the file system shows in UTF-8.
user=$(wine "$QUORRIN_PROBE" user | tr -d '\r\n' | iconv -f CP932 -t UTF-8) || Fail "no user name"
case "$user" in 表*) ;; *) Fail "the user name is \"$user\", not one beginning with 表" ;; esac
folder="$E2eDir/Quorrin Notes/$USER"
note_text="日本語のメモ 表ソ十 申予構"

StartAndShow
[ -d "$folder" ] || Fail "no notes folder \"$folder\": $(ls "$E2eDir")"
[ "$(ls "$E2eDir" | sort | tr '\n' '|')" = "Quorrin Notes|ソフト.exe|" ] ||
  Fail "beside the exe: $(ls "$E2eDir" | tr '\n' '|')"

LookUpTyped "5"
Probe wait-text Quorrin $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish"
Probe clip "$note_text" || Fail "could not put the note on the clipboard"
ClickControl Quorrin $IDC_NOTE_EDITOR
TypeInto Quorrin key ctrl+v
Probe wait-text Quorrin $IDC_NOTE_EDITOR "$note_text" 10000 || Fail "the pasted note did not reach the editor"
ClickControl Quorrin $IDC_SAVE_NOTE
for i in $(seq 1 100); do [ -f "$folder/5.qnote" ] && break; sleep 0.1; done
want=$(printf '%s' "$note_text" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n')00
got=$(od -An -tx1 "$folder/5.qnote" | tr -d ' \n')
[ "$got" = "$want" ] || Fail "note bytes $got, want $want"
CloseQuorrin

StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "$note_text" 20000 || Fail "the saved note is not shown whole after a restart"
CloseQuorrin
echo "ok"
