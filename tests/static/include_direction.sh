# Includes run one way: the shells (lookup, notes, about) take from app/
# only what is shared below them, never start-up or the main window.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
cd "$source_dir"
found=$(grep -Hn '#include "app/' lookup/* notes/* about/* |
  grep -Ev '"app/(app_state|system_library)\.h"' || true)
if [ -n "$found" ]; then
  echo "a shell includes from app/ what lies above it:"
  echo "$found"
  exit 1
fi
echo "ok: lookup/, notes/ and about/ include from app/ only app_state.h and system_library.h"
