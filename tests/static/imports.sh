# The exe is linked statically: it may import system DLLs only.
set -euo pipefail
exe=$1
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll ole32.dll msvcrt.dll"
dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
status=0
for dll in $dlls; do
  case " $allowed " in
    *" $dll "*) echo "import ok: $dll" ;;
    *) echo "unexpected import: $dll"; status=1 ;;
  esac
done
exit $status
