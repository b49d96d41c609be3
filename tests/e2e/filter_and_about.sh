# Real key events into the running exe reach the error field through its
# filter; the About box opens from the system-menu command and closes with
# WM_CLOSE. Also leaves a screenshot of the About box for the README.
source "$(dirname "$0")/e2e_lib.bash"

StartAndShow
TypeInto Quorrin type --delay 80 "0X1a" || Fail "xdotool could not type"
Probe wait-text Quorrin $IDC_ERROR_FIELD "0x1A" 10000 || Fail "0X1a was not shown as 0x1A"

# Ctrl+A is swallowed by the filter, so the field is cleared the way a
# paste would do it.
Probe settext Quorrin $IDC_ERROR_FIELD ""
TypeInto Quorrin type --delay 80 "g+." || Fail "xdotool could not type"
# A digit typed last marks that every earlier key has been handled.
TypeInto Quorrin type "7"
Probe wait-text Quorrin $IDC_ERROR_FIELD "7" 10000 || Fail "g+. reached the field"

Probe syscommand Quorrin $IDM_ABOUT || Fail "no main window for the About command"
Probe wait "About Quorrin" 20000 >/dev/null || Fail "the About box did not show"
[ "$(Probe text "About Quorrin" $IDC_ABOUT_VERSION)" = "Version 2.0.2" ] || Fail "wrong version line"
mkdir -p "$QUORRIN_BUILD/screenshots"
import -window "$(XWindow 'About Quorrin')" "$QUORRIN_BUILD/screenshots/about-box.png" ||
  Fail "could not take the About box screenshot"
Probe close "About Quorrin"
Probe gone "About Quorrin" 20000 || Fail "the About box did not close"

CloseQuorrin
echo "ok"
