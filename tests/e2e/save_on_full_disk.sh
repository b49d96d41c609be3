# Saves the disk refuses are reported with the system's reason. One that a
# full disk cuts short leaves the old note byte for byte, with the words
# for a full disk: Quorrin runs from a 1 MiB tmpfs that a filler file has
# nearly filled. From a read-only folder, where the notes folder cannot be
# made, the reason is the folder's, not the temporary file's "path not
# found". Skipped (exit 77, shown as skipped) where mounting is refused.
source "$(dirname "$0")/e2e_lib.bash"

disk=$E2eDir/disk
mkdir -p "$disk"
if ! mount -t tmpfs -o size=1m tmpfs "$disk" 2>/dev/null; then
  echo "SKIPPED: cannot mount a tmpfs here"
  exit 77
fi
readonly=$E2eDir/readonly
Unmount() {
  E2eCleanup
  umount "$disk" 2>/dev/null || umount -l "$disk"
  umount "$readonly" 2>/dev/null
}
trap Unmount EXIT

cp "$QUORRIN_EXE" "$disk/$E2eExe"
user=$(Probe user) || Fail "no user name"
notes="$disk/Quorrin Notes/$user"
mkdir -p "$notes"
printf 'the old note\0' > "$notes/5.qnote"
# Leave about 8 KiB free: the new note below needs 24 KiB (a command line
# holds at most 32 KiB, so it cannot be much longer).
free_kb=$(df -k --output=avail "$disk" | tail -n 1 | tr -d ' ')
dd if=/dev/zero of="$disk/filler" bs=1k count=$(( free_kb - 8 )) status=none

QuorrinDir=$disk
StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_NOTE_EDITOR "the old note" 20000 || Fail "the old note is not shown"
Probe settext Quorrin $IDC_NOTE_EDITOR "$(head -c 24000 /dev/zero | tr '\0' 'n')"
ClickControl Quorrin $IDC_SAVE_NOTE
text=$(Probe answer "Save Note" 1 20000) || Fail "the failed save was not reported"
full=$(Probe message 112) || Fail "the system has no text for a full disk"
[ "$text" = "Could not save the note for error: 5"$'\n\n'"$full" ] || Fail "the report said: $text"
[ "$(od -An -c "$notes/5.qnote" | tr -d ' \n')" = 'theoldnote\0' ] || Fail "the old note changed"
leftover=$(ls "$notes" | grep -v '^5\.qnote$')
[ -z "$leftover" ] || Fail "left behind: $leftover"
[ "$(Probe enabled Quorrin $IDC_DELETE_NOTE)" = 1 ] || Fail "Delete Note changed state"
CloseQuorrin 7

mkdir -p "$readonly" && cp "$QUORRIN_EXE" "$readonly/$E2eExe"
mount --bind "$readonly" "$readonly" && mount -o remount,bind,ro "$readonly" ||
  Fail "could not make $readonly read-only"
QuorrinDir=$readonly
StartAndShow
LookUpTyped "5"
Probe wait-text Quorrin $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish"
Probe settext Quorrin $IDC_NOTE_EDITOR "nowhere to go"
ClickControl Quorrin $IDC_SAVE_NOTE
text=$(Probe answer "Save Note" 1 20000) || Fail "the failed save was not reported"
why=$(Probe mkdir "$(winepath -w "$readonly/Quorrin Notes")") || Fail "a read-only folder was made"
[ "$why" != "$(Probe message 3)" ] || Fail "the folder's reason is \"path not found\" here too"
[ "$text" = "Could not save the note for error: 5"$'\n\n'"$why" ] || Fail "the report said: $text"
CloseQuorrin 7
echo "ok"
