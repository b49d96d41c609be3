# The exe is a 32-bit GUI PE with ASLR and DEP, declared free of structured
# exception handlers, that carries its manifest and version strings.
set -euo pipefail
exe=$1
headers=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "$*"; exit 1; }
grep -q '^Magic[[:space:]]*010b' <<<"$headers" || fail "not a PE32 image"
grep -q 'Subsystem[[:space:]]*00000002' <<<"$headers" || fail "not a GUI subsystem image"
# Address-space randomisation and DEP, and the relocations ASLR needs.
grep -q 'DYNAMIC_BASE' <<<"$headers" || fail "no DYNAMIC_BASE"
grep -q 'NX_COMPAT' <<<"$headers" || fail "no NX_COMPAT"
# No handler may be called in an image that has none (NO_SEH).
grep -q 'NO_SEH' <<<"$headers" || fail "no NO_SEH"
i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.reloc ' || fail "no relocations"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'architecture: i386' || fail "not an i386 image"
grep -aq 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$exe" || fail "no common-controls manifest"
grep -aq 'manifestVersion="1.0"' "$exe" || fail "no manifest"
strings -el "$exe" > /tmp/quorrin-strings.$$
trap 'rm -f /tmp/quorrin-strings.$$' EXIT
for s in "View descriptions for Windows errors" "2.0.2" "Quorrin" "04090000"; do
  grep -qxF "$s" /tmp/quorrin-strings.$$ || fail "version string missing: $s"
done
echo "ok"
