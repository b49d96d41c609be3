# Runs a program under Wine's heap checking (WINEDEBUG=warn+heap) and fails
# on any heap error or heap warning. A clean run of the in-process tests
# gives none, so every one that shows up is taken as ours, unless its kind
# is listed in wine_heap_warnings.txt as Wine's own (each such line is also
# listed in docs/reliability.md).
#   heap_check.sh tests   PATH/TO/quorrin_wine_tests.exe
#       all in-process tests in one process; they must also all pass
#   heap_check.sh planted PATH/TO/quorrin_soak.exe
#       the soak's deliberate double free; passes only if the check
#       above catches it
set -uo pipefail
here=$(dirname "$0")
source "$here/../../tools/lib.sh"
mode=${1:?usage: heap_check.sh tests|planted EXE}
exe=${2:?usage: heap_check.sh tests|planted EXE}
log=$(dirname "$exe")/heap-check-$mode.log

export WINEDEBUG=warn+heap
if [ "$mode" = tests ]; then
  # The 1 MiB round trip is left out: with heap checking on it takes many
  # minutes under the emulator, and the other note tests cover the same code.
  (cd "$(dirname "$exe")" && exec wine "./$(basename "$exe")" --gtest_filter=-*LargeNote*) >"$log" 2>&1
else
  (cd "$(dirname "$exe")" && exec wine "./$(basename "$exe")" --plant-heap-error) >"$log" 2>&1
fi
status=$?
tr -d '\r' <"$log" | grep -E '^\[  (PASSED|FAILED) ' || true
echo "exit code $status"

failed=0
if [ "$status" -ne 0 ]; then
  echo "FAIL: the program did not end well under heap checking (see $log)"
  tail -n 30 "$log"
  failed=1
fi
if [ "$mode" = tests ] && ! grep -q '^\[  PASSED  \]' "$log"; then
  echo "FAIL: the tests did not run to the end (see $log)"
  failed=1
fi

# Kinds of warning known to come from Wine itself: one extended regular
# expression per line, # starts a comment.
known=$(grep -v '^[[:space:]]*\(#\|$\)' "$here/wine_heap_warnings.txt" || true)
heap_lines=$(tr -d '\r' <"$log" | grep -aE '(err|warn):heap' || true)
if [ -n "$known" ]; then
  wines=$(grep -aE -f <(printf '%s\n' "$known") <<<"$heap_lines" || true)
  ours=$(grep -avE -f <(printf '%s\n' "$known") <<<"$heap_lines" || true)
else
  wines=""
  ours=$heap_lines
fi
if [ -n "$wines" ]; then
  echo "heap warnings of kinds Wine gives by itself (not failures):"
  sed -E 's/^[0-9a-f]+://; s/[0-9A-Fa-f]{6,}/ADDR/g' <<<"$wines" | sort | uniq -c | head -n 20
fi
caught=0
if [ -n "$ours" ]; then
  caught=1
  echo "heap errors and warnings:"
  sed -E 's/^[0-9a-f]+://' <<<"$ours" | sort | uniq -c | head -n 20
fi
echo "heap errors: $(grep -ac 'err:heap' "$log"), heap warnings: $(grep -ac 'warn:heap' "$log")"

if [ "$mode" = planted ]; then
  if [ "$caught" = 1 ] && [ "$failed" = 0 ]; then
    echo "the heap check caught the planted double free, as it should"
    exit 0
  fi
  echo "FAIL: the heap check did not catch the planted double free"
  exit 1
fi
[ "$caught" = 1 ] && echo "FAIL: heap errors or warnings in Quorrin's tests (see $log)" && failed=1
exit $failed
