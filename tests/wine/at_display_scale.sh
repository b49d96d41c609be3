# Runs in-process tests with the display at another scale, in a copy of the
# prefix whose LogPixels says so; the tests are told the DPI to expect.
#   at_display_scale.sh DPI PATH/TO/quorrin_wine_tests.exe GTEST_FILTER
set -uo pipefail
source "$(dirname "$0")/../../tools/lib.sh"
dpi=${1:?} exe=${2:?} filter=${3:?}
UseDisplayScale "$dpi" || { echo "FAIL: could not set the display to $dpi DPI"; exit 1; }
trap EndDisplayScale EXIT
(cd "$(dirname "$exe")" && QUORRIN_DPI=$dpi exec wine "./$(basename "$exe")" \
  --gtest_filter="$filter" --gtest_also_run_disabled_tests)
