# The real exe with the display at 150% (144 DPI). Quorrin declares itself
# DPI-aware, so it is laid out and drawn at 144 DPI; a program that declares
# nothing is drawn at 96 and stretched as a picture, which blends the edges
# of every letter into new shades. So the main window at 144 DPI must be
# about half as large again as at 96 and hold about as few colours (at most twice as many). Wine 8 draws
# every program at the prefix's DPI and calls each DPI-aware, so there this
# passes for any build; Wine 10 stretches, as Windows does, and tells.
# Also leaves screenshots of the three windows at 144 DPI for the docs.
source "$(dirname "$0")/e2e_lib.bash"
shots=$QUORRIN_BUILD/screenshots

# Looks up 0x80070005 and takes the main window to FILE.
ShootLookup() {
  LookUpTyped "0x80070005"
  Probe wait-text Quorrin $IDC_CODE 5 20000 >/dev/null || Fail "0x80070005 was not looked up"
  sleep 0.5
  Screenshot Quorrin "$1"
}
Colours() { convert "$1" -format %k info:; }
Width() { convert "$1" -format %w info:; }

StartAndShow
ShootLookup "$E2eDir/main-96.png"
CloseQuorrin

UseDisplayScale 144 || Fail "could not set the display to 144 DPI"
StartAndShow
read -r awareness dpi < <(Probe dpi Quorrin) || Fail "no DPI awareness for the main window"
# Wine 8 gives every window per-monitor awareness, whatever it declares.
wine_major=$(wine --version | sed -n 's/^wine-\([0-9]*\).*/\1/p')
[ "${wine_major:-0}" -lt 9 ] && [ "$awareness" = per-monitor ] && awareness=system
[ "$awareness $dpi" = "system 144" ] || Fail "the main window is \"$awareness $dpi\", not system-aware at 144"
ShootLookup "$shots/main-window-144.png"
w96=$(Width "$E2eDir/main-96.png") w144=$(Width "$shots/main-window-144.png")
# Dialog units follow the font, and the frame scales apart from it, so
# "half as large again" holds only roughly.
[ $((w144 * 10)) -ge $((w96 * 13)) ] && [ $((w144 * 10)) -le $((w96 * 17)) ] ||
  Fail "the main window is $w144 pixels wide at 144 DPI against $w96 at 96"
c96=$(Colours "$E2eDir/main-96.png") c144=$(Colours "$shots/main-window-144.png")
echo "main window: $w96 pixels wide and $c96 colours at 96 DPI, $w144 and $c144 at 144"
[ "$c144" -le $((c96 * 2)) ] || Fail "blurred at 144 DPI: $c144 colours against $c96 at 96"

# Notes for the Note Browser's picture, as in the one at 96 DPI; it lists
# them as it opens.
notes="$E2eDir/Quorrin Notes/$(Probe user)"
mkdir -p "$notes"
printf 'five\0' > "$notes/5.qnote"
printf 'no connection\0' > "$notes/12029.qnote"
printf 'denied\0' > "$notes/80070005.qnote"
Probe syscommand Quorrin $IDM_BROWSE_NOTES
Probe wait "Note Browser" 20000 >/dev/null || Fail "the Note Browser did not open"
xdotool mousemove $(Probe corner "Note Browser" $IDC_BROWSER_LIST 12 8) click 1
TypeInto "Note Browser" key Down
Probe wait-text "Note Browser" $IDC_BROWSER_EDITOR "five" 10000 || Fail "the note of 5 is not shown"
Screenshot "Note Browser" "$shots/note-browser-144.png"
Probe close "Note Browser"
Probe gone "Note Browser" 20000 || Fail "the Note Browser did not close"
Probe syscommand Quorrin $IDM_ABOUT
Probe wait "About Quorrin" 20000 >/dev/null || Fail "the About box did not show"
Screenshot "About Quorrin" "$shots/about-box-144.png"
Probe close "About Quorrin"
Probe gone "About Quorrin" 20000 || Fail "the About box did not close"
CloseQuorrin
echo "ok"
