# The set-up names no version of a tool, a library folder or the release,
# so that it works unchanged on the next Debian too.
set -euo pipefail
cd "$(dirname "$0")/../.."
pattern='[0-9]+-posix|-1[0-9]-dev|bookworm|trixie'
if git grep -nE "$pattern" -- . ':!tests/static/no_pinned_versions.sh' ':!docs' ':!*.md'; then
  echo "a version is named above"
  exit 1
fi
echo "no version named"
