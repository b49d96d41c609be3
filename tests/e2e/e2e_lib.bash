# Shared by the end-to-end scripts: each starts the real Quorrin.exe from its
# own folder under build/e2e/, on the display tools/test started, drives it
# with xdotool and the probe, and reads back what it shows and wrote.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib.sh"

: "${QUORRIN_EXE:?}" "${QUORRIN_PROBE:?}" "${QUORRIN_BUILD:?}"
E2eName=${QUORRIN_E2E_NAME:-$(basename "$0" .sh)}
E2eDir=$QUORRIN_BUILD/e2e/$E2eName
# A script may name the copy otherwise, as a person may rename the exe.
E2eExe=${E2eExe:-Quorrin.exe}
QuorrinPid=""

rm -rf "$E2eDir"
mkdir -p "$E2eDir"
cp "$QUORRIN_EXE" "$E2eDir/$E2eExe" || { echo "FAIL ($E2eName): no $QUORRIN_EXE" >&2; exit 1; }

Fail() {
  echo "FAIL ($E2eName): $*" >&2
  exit 1
}

Probe() {
  wine "$QUORRIN_PROBE" "$@" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# Starts the copy in QuorrinDir (the test's own folder unless a test points
# it elsewhere), from that folder, as a double-click in Explorer would.
StartQuorrin() {
  (cd "${QuorrinDir:-$E2eDir}" && exec wine "$E2eExe") &
  QuorrinPid=$!
}

# Waits up to 60 s for the running copy to end; its exit code goes to
# QuorrinExit (empty if it did not end).
WaitQuorrin() {
  local i
  QuorrinExit=""
  for i in $(seq 1 600); do
    kill -0 "$QuorrinPid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$QuorrinPid" 2>/dev/null && return 1
  wait "$QuorrinPid"
  QuorrinExit=$?
  QuorrinPid=""
}

# Starts a copy and waits for its main window.
StartAndShow() {
  StartQuorrin
  Probe wait Quorrin 60000 >/dev/null || Fail "the main window did not show"
}

# Types a number into the main window and presses Return.
LookUpTyped() {
  TypeInto Quorrin type --delay 80 "$1" || Fail "xdotool could not type"
  TypeInto Quorrin key Return
}

# Clicks into the main window's note editor, types TEXT, clicks Save Note
# and waits for FILE to hold TEXT and its zero byte.
TypeAndSaveNote() {
  local text=$1 file=$2 i
  ClickControl Quorrin $IDC_NOTE_EDITOR
  TypeInto Quorrin type --delay 60 "$text"
  Probe wait-text Quorrin $IDC_NOTE_EDITOR "$text" 10000 || Fail "the typed note did not reach the editor"
  ClickControl Quorrin $IDC_SAVE_NOTE
  for i in $(seq 1 100); do [ -f "$file" ] && break; sleep 0.1; done
  cmp -s "$file" <(printf '%s\0' "$text") || Fail "no note \"$text\" at $file"
}

# Closes the running copy with its close command; it must end with 0. With
# an ANSWER, the question about unsaved changes comes first and gets it.
CloseQuorrin() {
  Probe close Quorrin
  if [ -n "${1:-}" ]; then
    Probe answer "Save Note" "$1" 20000 >/dev/null || Fail "no question about unsaved changes"
  fi
  WaitQuorrin || Fail "Quorrin did not end"
  [ "$QuorrinExit" = 0 ] || Fail "exit code $QuorrinExit"
}

# The X window of a top-level Wine window with exactly this caption.
XWindow() {
  local i id
  for i in $(seq 1 100); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# A screenshot of the top-level window with this caption, to FILE.
Screenshot() {
  mkdir -p "$(dirname "$2")"
  import -window "$(XWindow "$1")" "$2" || Fail "no screenshot of \"$1\""
}

# Real key events into the window with this caption.
TypeInto() {
  local caption=$1
  shift
  local id
  id=$(XWindow "$caption") || Fail "no X window \"$caption\""
  xdotool windowfocus --sync "$id" && xdotool "$@"
}

ClickControl() {
  local caption=$1 control=$2 xy
  xy=$(Probe center "$caption" "$control") || Fail "no control $control in \"$caption\""
  xdotool mousemove $xy click 1
}

# A per-program library override, as winecfg writes it: for programs named
# exe, library is loaded as value says ("native,builtin" prefers a copy
# beside the exe, as Windows does; "" disables it). Removed at the end.
OverriddenExes=()
OverrideLibrary() {
  local exe=$1 library=$2 value=$3
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\DllOverrides" /v "$library" \
    /d "$value" /f >/dev/null 2>&1 || Fail "could not set the override $library for $exe"
  [[ " ${OverriddenExes[*]} " == *" $exe "* ]] || OverriddenExes+=("$exe")
}

E2eCleanup() {
  if [ -n "$QuorrinPid" ] && kill -0 "$QuorrinPid" 2>/dev/null; then
    Probe close Quorrin >/dev/null 2>&1
    sleep 1
    kill "$QuorrinPid" 2>/dev/null
  fi
  local exe
  for exe in "${OverriddenExes[@]}"; do
    wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$exe" /f >/dev/null 2>&1
  done
  # A display-scale copy of the prefix (UseDisplayScale) ends with the test.
  EndDisplayScale
}
trap E2eCleanup EXIT
