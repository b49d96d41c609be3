# Notes beside an exe in folders named in any language, in a folder so deep
# that the notes' paths pass 260 characters, and for a user whose name the
# code page cannot spell. Under code page 1252 none of these names can be
# written in ANSI. In each, a note is saved into the real folder, shown
# again after a restart, listed in the Note Browser and deleted there; a
# look-alike folder (Lódz beside Łódź) is never touched, and a note already
# in a folder the code page spells (Zoë) is found where it is, as are the
# notes an earlier version kept under a look-alike spelling of the user.
source "$(dirname "$0")/e2e_lib.bash"

[ "$(Probe acp)" = 1252 ] || Fail "the code page is $(Probe acp), not 1252"
user=$(Probe user) || Fail "no user name"

# Copies the exe into the folder $1 (made here), saves a note for 5 in it
# and checks that it lands in $1/Quorrin Notes/$2; then starts it again,
# finds the note shown and listed, and deletes it from the Note Browser.
# The note's text is typed, so it is ASCII: "note 1", "note 2" and so on.
rounds=0
RoundTrip() {
  local dir=$1 notes="$1/Quorrin Notes/$2" text="note $((++rounds))"
  mkdir -p "$dir" && cp "$QUORRIN_EXE" "$dir/$E2eExe" || Fail "could not make $dir"
  QuorrinDir=$dir
  StartAndShow
  LookUpTyped "5"
  Probe wait-text Quorrin $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish in $dir"
  TypeAndSaveNote "$text" "$notes/5.qnote"
  CloseQuorrin

  StartAndShow
  LookUpTyped "5"
  Probe wait-text Quorrin $IDC_NOTE_EDITOR "$text" 20000 || Fail "not shown after a restart: $dir"
  Probe syscommand Quorrin $IDM_BROWSE_NOTES
  Probe wait "Note Browser" 20000 >/dev/null || Fail "the Note Browser did not open"
  xdotool mousemove $(Probe corner "Note Browser" $IDC_BROWSER_LIST 12 8) click 1
  Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "$text" 10000 || Fail "not listed: $dir"
  ClickControl "Note Browser" $IDC_BROWSER_DELETE
  Probe answer "Confirm Delete" 6 20000 >/dev/null || Fail "no Confirm Delete question"
  for i in $(seq 1 100); do [ -f "$notes/5.qnote" ] || break; sleep 0.1; done
  [ ! -e "$notes/5.qnote" ] || Fail "the note was not deleted: $dir"
  Probe close "Note Browser"
  Probe gone "Note Browser" 20000 || Fail "the Note Browser did not close"
  CloseQuorrin
  QuorrinDir=""
}

mkdir -p "$E2eDir/Lódz"
RoundTrip "$E2eDir/Иван" "$user"
RoundTrip "$E2eDir/Łódź" "$user"
[ -z "$(ls -A "$E2eDir/Lódz")" ] || Fail "the look-alike Lódz was written to: $(ls -A "$E2eDir/Lódz")"
RoundTrip "$E2eDir/表許-😀" "$user"

# An exe path of 240 characters as Wine spells it: Z:, the Unix folder,
# a backslash and the name of the exe.
deep="$E2eDir/"
pad=$((240 - 2 - ${#deep} - 1 - ${#E2eExe}))
[ "$pad" -gt 20 ] && [ "$pad" -lt 250 ] || Fail "cannot make an exe path of 240 characters here"
deep="$deep$(head -c "$pad" /dev/zero | tr '\0' 'd')"
RoundTrip "$deep" "$user"

# Starts a copy in the folder $1 whose notes folder $2 already holds the
# note of $3 with the text $4, and looks that note up.
StartWithNote() {
  mkdir -p "$2" && cp "$QUORRIN_EXE" "$1/$E2eExe" && printf '%s\0' "$4" > "$2/$3.qnote" ||
    Fail "could not make $2"
  QuorrinDir=$1
  StartAndShow
  LookUpTyped "$3"
  Probe wait-text Quorrin $IDC_NOTE_EDITOR "$4" 20000 || Fail "the note already in $2 is not found"
}

StartWithNote "$E2eDir/Zoë" "$E2eDir/Zoë/Quorrin Notes/$user" 7 seven
CloseQuorrin

# Wine's user name is the Unix USER, read when the prefix's server starts.
UserCleanup() {
  E2eCleanup
  wineserver -k 2>/dev/null
}
trap UserCleanup EXIT
wineserver -k 2>/dev/null
export USER=Мария
RoundTrip "$E2eDir/plain" "Мария"

# Earlier versions kept Łukasz's notes where GetUserNameA's look-alike
# spelling put them, in Lukasz: they are found and saved there, and no
# folder for the real spelling is made beside it.
wineserver -k 2>/dev/null
export USER=Łukasz
earlier="$E2eDir/earlier/Quorrin Notes/Lukasz"
StartWithNote "$E2eDir/earlier" "$earlier" 5 earlier
Probe settext Quorrin $IDC_NOTE_EDITOR "saved back"
ClickControl Quorrin $IDC_SAVE_NOTE
for i in $(seq 1 100); do cmp -s "$earlier/5.qnote" <(printf 'saved back\0') && break; sleep 0.1; done
cmp -s "$earlier/5.qnote" <(printf 'saved back\0') || Fail "not saved back under Lukasz"
[ "$(ls "$E2eDir/earlier/Quorrin Notes")" = Lukasz ] || Fail "beside Lukasz: $(ls "$E2eDir/earlier/Quorrin Notes")"
CloseQuorrin
echo "ok"
