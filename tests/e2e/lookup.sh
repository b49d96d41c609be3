# A person types 0x80004005 and presses Return in the real exe; the window
# shows the system's text for it and its split.
source "$(dirname "$0")/e2e_lib.bash"

StartAndShow
LookUpTyped "0x80004005"
Probe wait-text Quorrin $IDC_CODE 16389 20000 || Fail "Code did not become 16389"
[ "$(Probe text Quorrin $IDC_STATUS)" = "Failure" ] || Fail "Status is not Failure"
[ "$(Probe text Quorrin $IDC_FACILITY)" = "Default facility code" ] || Fail "wrong Facility"
expected=$(Probe message 0x80004005)
[ -n "$expected" ] || Fail "this system has no text for 0x80004005"
[ "$(Probe text Quorrin $IDC_DESCRIPTION)" = "$expected" ] || Fail "the description is not the system's text"
[ "$(Probe focus Quorrin)" = $IDC_ERROR_FIELD ] || Fail "the error field does not have the focus"
[ "$(Probe selection Quorrin $IDC_ERROR_FIELD)" = "0 10" ] || Fail "the field's text is not selected"
CloseQuorrin
echo "ok"
