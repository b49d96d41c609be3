# Shell helpers shared by tools/run, tools/test and the end-to-end tests:
# the project's Wine prefix, a private Xvfb display, and cleaning both up.
# Source it; it defines functions and a few variables and runs nothing.

QUORRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORRIN_BUILD_ROOT=${QUORRIN_BUILD_ROOT:-$QUORRIN_ROOT/build}

export WINEPREFIX=${QUORRIN_WINEPREFIX:-$QUORRIN_BUILD_ROOT/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine's ANSI code page follows the Unix locale; pin it so that it is 1252,
# unless a test names the locale whose code page it runs under.
export LANG=${QUORRIN_LOCALE:-C.UTF-8} LC_ALL=${QUORRIN_LOCALE:-C.UTF-8}
# No Mono or Gecko installer dialog may block a headless run, and a crash
# ends the process instead of waiting in the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winedbg.exe=d;mscoree,mshtml=}

QuorrinXvfbPid=""

# Dialog, control and command identifiers by name (IDC_NOTE_EDITOR=1006 and
# so on), read from the one header that the .rc and the code share.
eval "$(sed -n 's/^#define \(ID[A-Z_]*\) \([0-9][0-9]*\)$/\1=\2/p' \
  "$QUORRIN_ROOT/resources/resource_ids.h")"

# Creates the prefix once; later calls only check that it is there.
EnsureWinePrefix() {
  if [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.quorrin-ready" ]; then
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  echo "preparing Wine prefix $WINEPREFIX (once)" >&2
  wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine waits ~2 s for one whenever a managed window
  # hides; unmanaged windows close at once.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.quorrin-ready"
}

# Starts a private Xvfb on the first free display from :91 and exports DISPLAY.
StartXvfb() {
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      QuorrinXvfbPid=$!
      local i
      for i in $(seq 1 100); do
        if [ -e "/tmp/.X11-unix/X$n" ]; then
          export DISPLAY=":$n"
          return 0
        fi
        if ! kill -0 "$QuorrinXvfbPid" 2>/dev/null; then
          break
        fi
        sleep 0.1
      done
      kill "$QuorrinXvfbPid" 2>/dev/null
      QuorrinXvfbPid=""
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

StopXvfb() {
  if [ -n "$QuorrinXvfbPid" ]; then
    kill "$QuorrinXvfbPid" 2>/dev/null
    wait "$QuorrinXvfbPid" 2>/dev/null
    QuorrinXvfbPid=""
  fi
}

# Ends every Wine process of this prefix only.
StopWine() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
  fi
}
