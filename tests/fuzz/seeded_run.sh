# One fuzz target over its committed corpus, for as long as LIMIT says
# (a libFuzzer option: -runs=N with a fixed seed for ctest, or
# -max_total_time=SECONDS for tools/fuzz):
#   seeded_run.sh TARGET CORPUS WORK LIMIT
# libFuzzer adds what it finds to the first corpus folder it is given, so a
# scratch folder under WORK comes first and the committed corpus stays as it
# is. A finding's input is kept in WORK/findings/.
set -uo pipefail
target=$1 corpus=$2 work=$3 limit=$4
rm -rf "$work/scratch"
mkdir -p "$work/scratch" "$work/findings"
# Paths near the 260-character limit need room beyond the seeds' lengths.
"$target" -seed=1 "$limit" -max_len=700 -print_final_stats=1 \
  -artifact_prefix="$work/findings/" "$work/scratch" "$corpus" >"$work/log" 2>&1
status=$?
sed -n 's/^stat::number_of_executed_units: */runs: /p' "$work/log" | tail -n 1
if [ "$status" -ne 0 ]; then
  echo "FAILED (exit $status), see $work/log"
  grep -E 'ERROR|SUMMARY|fuzz_[a-z_]+:|Test unit written' "$work/log" | head -n 10
fi
exit "$status"
