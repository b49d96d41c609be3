# Runs the in-process tests once more, all in one process, with Wine's heap
# checking on (WINEDEBUG=warn+heap). Any heap error fails, and so does a
# heap warning that names Quorrin's own code; other heap warnings come from
# Wine itself and are only printed.
#   heap_check.sh PATH/TO/quorrin_wine_tests.exe
set -uo pipefail
source "$(dirname "$0")/../../tools/lib.sh"
tests_exe=${1:?usage: heap_check.sh quorrin_wine_tests.exe}
log=$(dirname "$tests_exe")/heap-check.log

export WINEDEBUG=warn+heap
# The 1 MiB round trip is left out: with heap checking on it takes many
# minutes under the emulator, and the other note tests cover the same code.
(cd "$(dirname "$tests_exe")" && exec wine "./$(basename "$tests_exe")" --gtest_filter=-*LargeNote*) >"$log" 2>&1
status=$?
tr -d '\r' <"$log" | grep -E '^\[  (PASSED|FAILED) ' || true
echo "exit code $status"

failed=0
if [ "$status" -ne 0 ]; then
  echo "FAIL: the tests did not all pass under heap checking (see $log)"
  tail -n 30 "$log"
  failed=1
fi
if grep -q '^\[  PASSED  \]' "$log"; then :; else
  echo "FAIL: the tests did not run to the end (see $log)"
  failed=1
fi
errors=$(grep -a 'err:heap' "$log" | sort | uniq -c)
if [ -n "$errors" ]; then
  echo "FAIL: heap errors:"
  echo "$errors"
  failed=1
fi
# A warning is ours when it names the test exe or one of our functions.
warnings=$(grep -a 'warn:heap' "$log")
ours=$(grep -aiE 'quorrin|Note|Lookup|About|MainDialog|ErrorField' <<<"$warnings" || true)
if [ -n "$ours" ]; then
  echo "FAIL: heap warnings pointing into Quorrin's code:"
  sort <<<"$ours" | uniq -c | head -n 20
  failed=1
fi
others=$(grep -avxF -f <(printf '%s\n' "$ours") <<<"$warnings" | grep -a . || true)
if [ -n "$others" ]; then
  echo "heap warnings from Wine itself (not failures), by kind:"
  sed -E 's/^[0-9a-f]+://; s/0x[0-9a-fA-F]+/ADDR/g; s/[0-9]+/N/g' <<<"$others" | sort | uniq -c | head -n 20
fi
echo "heap errors: $(grep -ac 'err:heap' "$log"), heap warnings: $(grep -ac 'warn:heap' "$log")"
exit $failed
