# Two copies of Quorrin started from the same folder share one notes folder.
# Both look up 5, and then, round after round, each sets its editor to its
# own whole text and both press Save Note at about the same time. After
# each round the note file must be exactly one of the two texts and one
# zero byte: never a mix, never empty. A save refused because the other
# copy held the file must be told in a "Save Note" box; those are answered
# and counted.
#   QUORRIN_CONCURRENT_ROUNDS (default 25) sets the number of rounds.
source "$(dirname "$0")/e2e_lib.bash"

rounds=${QUORRIN_CONCURRENT_ROUNDS:-25}
user=$(Probe user) || Fail "no user name"
note="$E2eDir/Quorrin Notes/$user/5.qnote"
expected="$E2eDir/expected"
mkdir -p "$expected"

# About 19 KB each: 300 lines of 62 letters, CR LF between lines.
Text() { local line; line=$(printf "%062d" 0 | tr 0 "$1"); for i in $(seq 1 300); do printf '%s\r\n' "$line"; done | head -c -2; }
textA=$(Text A)
textB=$(Text B)
{ printf '%s' "$textA"; printf '\0'; } >"$expected/A"
{ printf '%s' "$textB"; printf '\0'; } >"$expected/B"

pids=()
StopCopies() {
  local h
  for h in ${handles[@]+"${handles[@]}"}; do Probe close "$h" >/dev/null 2>&1; done
  sleep 1
  for p in ${pids[@]+"${pids[@]}"}; do kill "$p" 2>/dev/null; done
}
trap StopCopies EXIT
for copy in 1 2; do
  (cd "$E2eDir" && exec wine Quorrin.exe) &
  pids+=($!)
done

handles=()
for i in $(seq 1 120); do
  mapfile -t handles < <(Probe all Quorrin)
  [ "${#handles[@]}" -ge 2 ] && break
  sleep 0.5
done
[ "${#handles[@]}" -eq 2 ] || Fail "expected two Quorrin windows, found ${#handles[@]}"
A=${handles[0]}
B=${handles[1]}
echo "copies: $A $B"

for h in "$A" "$B"; do
  Probe settext "$h" $IDC_ERROR_FIELD 5 || Fail "cannot type into $h"
  Probe command "$h" $IDC_LOOKUP || Fail "cannot look up in $h"
  Probe wait-text "$h" $IDC_CODE 5 20000 || Fail "the lookup of 5 did not finish in $h"
done

refused=0
torn=0
# Answers every "Save Note" box that is showing; counts them.
AnswerRefusals() {
  local text
  while text=$(Probe answer "Save Note" 1 500 2>/dev/null); do
    refused=$((refused + 1))
    echo "refused save $refused: $text"
  done
}
# Waits until both copies are back in a message loop: WM_GETTEXT is only
# answered once the Save Note command has been handled or a box is up.
Settle() {
  Probe text "$A" $IDC_CODE >/dev/null || Fail "copy $A does not answer"
  Probe text "$B" $IDC_CODE >/dev/null || Fail "copy $B does not answer"
}
CheckNote() {
  if [ ! -s "$note" ]; then
    torn=$((torn + 1)); echo "round $1: the note is missing or empty"
  elif ! cmp -s "$note" "$expected/A" && ! cmp -s "$note" "$expected/B"; then
    torn=$((torn + 1)); cp "$note" "$E2eDir/torn-$1.qnote"
    echo "round $1: the note is neither whole text ($(wc -c <"$note") bytes)"
  fi
}

# Each copy alone first: its text reaches the file exactly.
for pair in "A $A" "B $B"; do
  set -- $pair
  text=$textA; [ "$1" = B ] && text=$textB
  Probe settext "$2" $IDC_NOTE_EDITOR "$text" || Fail "cannot set the editor of $2"
  Probe command "$2" $IDC_SAVE_NOTE
  Settle
  AnswerRefusals
  cmp -s "$note" "$expected/$1" || Fail "copy $1 alone: the note file is not its text and one zero byte"
done

for r in $(seq 1 "$rounds"); do
  Probe settext "$A" $IDC_NOTE_EDITOR "$textA" || Fail "round $r: cannot set the editor of $A"
  Probe settext "$B" $IDC_NOTE_EDITOR "$textB" || Fail "round $r: cannot set the editor of $B"
  # Both presses at about the same time, the first copy alternating.
  if [ $((r % 2)) = 1 ]; then first=$A second=$B; else first=$B second=$A; fi
  Probe command "$first" $IDC_SAVE_NOTE & p1=$!
  Probe command "$second" $IDC_SAVE_NOTE & p2=$!
  wait "$p1" "$p2"
  Settle
  before=$refused
  AnswerRefusals
  [ "$refused" = "$before" ] || Settle
  CheckNote "$r"
done

echo "concurrent saves: $rounds rounds, $((rounds * 2)) saves, $torn torn files, $refused refused saves (each shown in a Save Note box)"
[ "$torn" -eq 0 ] || Fail "$torn torn or empty note files"
StopCopies
trap - EXIT
echo "ok"
