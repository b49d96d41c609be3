# Shell helpers shared by tools/run, tools/test and the end-to-end tests:
# the project's Wine prefix, a private Xvfb display, and cleaning both up.
# Source it; it defines functions and a few variables and runs nothing.

QUORRIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORRIN_BUILD_ROOT=${QUORRIN_BUILD_ROOT:-$QUORRIN_ROOT/build}

export WINEPREFIX=${QUORRIN_WINEPREFIX:-$QUORRIN_BUILD_ROOT/wineprefix}
# The prefix is Wine's default, 64-bit, although every program run in it is
# 32-bit: Wine's own services and desktop then run as 64-bit programs. Where
# 32-bit programs go through qemu, a 32-bit prefix runs those under qemu too,
# where they crash now and then and take the test's windows with them.
unset WINEARCH
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

# Creates the prefix once; later calls only check that it is there. One
# whose making was cut short is brought up to date by wineboot again. Each
# step has a bound, so a wedged Wine ends in a message instead of a run
# that never finishes.
EnsureWinePrefix() {
  if [ -f "$WINEPREFIX/.quorrin-ready" ] && [ -f "$WINEPREFIX/system.reg" ]; then
    return 0
  fi
  mkdir -p "$WINEPREFIX"
  echo "preparing Wine prefix $WINEPREFIX (once)" >&2
  local started=$SECONDS
  timeout 900 wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
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
  # Hard links: a prefix is over a gigabyte. Wine rewrites a registry file
  # by replacing it, but the copy gets registry files of its own anyway.
  cp -al "$WINEPREFIX" "$copy" || return 1
  local file
  for file in system.reg user.reg userdef.reg; do
    cp --remove-destination "$WINEPREFIX/$file" "$copy/$file" || return 1
  done
  export WINEPREFIX=$copy
  timeout 120 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1 || return 1
  timeout 120 wineserver -w
}

# Ends a display-scale copy that this shell moved to, and removes it.
EndDisplayScale() {
  if [ "$WINEPREFIX" != "${WINEPREFIX%-dpi*}" ]; then
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
  fi
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
