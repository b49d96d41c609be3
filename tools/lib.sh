# Shell helpers shared by tools/run, tools/test and the end-to-end tests:
# the project's Wine prefix, a private Xvfb display, and cleaning both up.
# Source it; it defines functions and a few variables and runs nothing.

QUORRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORRIN_BUILD_ROOT=${QUORRIN_BUILD_ROOT:-$QUORRIN_ROOT/build}

export WINEPREFIX=${QUORRIN_WINEPREFIX:-$QUORRIN_BUILD_ROOT/wineprefix}
# Quorrin and every test program are 32-bit, so the prefix is too. A 64-bit
# prefix also installs its 32-bit half through WoW64, which doubles the
# work of making it; under qemu and Wine 10 that half alone took half an
# hour.
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# Wine's ANSI code page follows the Unix locale; pin it so that it is 1252,
# unless a test names the locale whose code page it runs under.
export LANG=${QUORRIN_LOCALE:-C.UTF-8} LC_ALL=${QUORRIN_LOCALE:-C.UTF-8}
# No Mono or Gecko installer dialog may block a headless run, a crash ends
# the process instead of waiting in the debugger, and no desktop menu
# entries are made for the prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winedbg.exe,winemenubuilder.exe=d;mscoree,mshtml=}

QuorrinXvfbPid=""

# Dialog, control and command identifiers by name (IDC_NOTE_EDITOR=1006 and
# so on), read from the one header that the .rc and the code share.
eval "$(sed -n 's/^#define \(ID[A-Z_]*\) \([0-9][0-9]*\)$/\1=\2/p' \
  "$QUORRIN_ROOT/resources/resource_ids.h")"

# Creates the prefix once; later calls only check that it is there. A
# prefix of another architecture (a 64-bit one from an older checkout) or
# one whose making was cut short is made again. Each step has a bound, so a
# wedged Wine ends in a message instead of a run that never finishes.
EnsureWinePrefix() {
  if [ -f "$WINEPREFIX/.quorrin-ready" ] && grep -qx '#arch=win32' "$WINEPREFIX/system.reg" 2>/dev/null; then
    return 0
  fi
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  echo "preparing Wine prefix $WINEPREFIX (once)" >&2
  local started=$SECONDS
  timeout 900 wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w
  if ! grep -qx '#arch=win32' "$WINEPREFIX/system.reg" 2>/dev/null; then
    echo "could not prepare the Wine prefix $WINEPREFIX" >&2
    wineserver -k 2>/dev/null || true
    return 1
  fi
  # Without a window manager Wine waits ~2 s for one whenever a managed window
  # hides; unmanaged windows close at once.
  timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.quorrin-ready"
  echo "Wine prefix ready in $((SECONDS - started)) s" >&2
}

# Moves this shell to a copy of the prefix whose display runs at $1 DPI
# (LogPixels, as the display settings write it), so that nothing else sees
# the scale. The copy's Wine server starts afresh and so reads the DPI.
UseDisplayScale() {
  local dpi=$1 copy=$WINEPREFIX-dpi$1
  EnsureWinePrefix || return 1
  timeout 120 wineserver -w
  WINEPREFIX=$copy wineserver -k 2>/dev/null
  rm -rf "$copy"
  cp -a "$WINEPREFIX" "$copy" || return 1
  export WINEPREFIX=$copy
  timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1 || return 1
  timeout 120 wineserver -w
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

# Ends every Wine process of this prefix and of its display-scale copies.
StopWine() {
  local prefix
  for prefix in "$WINEPREFIX" "${WINEPREFIX%-dpi*}"-dpi*; do
    if [ -d "$prefix" ]; then
      WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    fi
  done
}
