# Files are named through the W functions, so that a folder or user name in
# any language is the one the system shows: no ANSI file or path call may
# come back into the product. GetUserNameA is called in one place only, the
# notes store, to find the folder that earlier versions named after the
# ANSI spelling of the user name.
set -euo pipefail
cd "$(dirname "$0")/../.."
calls='CreateFileA|CreateDirectoryA|DeleteFileA|MoveFileA|MoveFileExA|FindFirstFileA|FindNextFileA|GetFileAttributesA|GetModuleFileNameA|GetTempFileNameA|WIN32_FIND_DATAA'
if git grep -nwE "$calls" -- app lookup notes about ||
  git grep -nE '\bGetUserNameA\s*\(' -- app lookup notes about ':!notes/notes_store.cpp'; then
  echo "an ANSI file or path call is named above"
  exit 1
fi
echo "every file and path call is a W one"
