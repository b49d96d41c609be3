# The real exe starts, shows its window, takes key events, and exits with 0
# when its window is closed.
source "$(dirname "$0")/e2e_lib.bash"

StartAndShow
TypeInto Quorrin type --delay 80 "5" || Fail "xdotool could not type"
Probe wait-text Quorrin $IDC_ERROR_FIELD "5" 10000 || Fail "the typed key did not reach the error field"
CloseQuorrin
echo "ok"
