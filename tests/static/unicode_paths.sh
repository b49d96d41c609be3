# Files are named through the W functions, so that a folder or user name in
# any language is the one the system shows: no ANSI file or path call may
# come back into the product.
set -euo pipefail
cd "$(dirname "$0")/../.."
calls='CreateFileA|CreateDirectoryA|DeleteFileA|MoveFileA|MoveFileExA|FindFirstFileA|FindNextFileA|GetFileAttributesA|GetModuleFileNameA|GetUserNameA|GetTempFileNameA|WIN32_FIND_DATAA'
if git grep -nwE "$calls" -- app lookup notes about; then
  echo "an ANSI file or path call is named above"
  exit 1
fi
echo "every file and path call is a W one"
