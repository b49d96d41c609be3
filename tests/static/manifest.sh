# The manifest inside the exe: Windows refuses to start a program whose
# manifest it cannot parse, so a real XML parser reads it, and then each
# declaration the program relies on must be there.
set -euo pipefail
exe=$1
manifest=$(perl -0777 -ne 'print $1 if /(<\?xml.*?<\/assembly>)/s' "$exe")
[ -n "$manifest" ] || { echo "no manifest in $exe"; exit 1; }
xmllint --noout - <<<"$manifest"

asm1=urn:schemas-microsoft-com:asm.v1
asm3=urn:schemas-microsoft-com:asm.v3
compat=urn:schemas-microsoft-com:compatibility.v1
settings=http://schemas.microsoft.com/SMI/2005/WindowsSettings
E() { echo "*[local-name()='$1' and namespace-uri()='$2']"; }
checks=(
  "/$(E assembly $asm1)/$(E dependency $asm1)/$(E dependentAssembly $asm1)/$(E assemblyIdentity $asm1)[@name='Microsoft.Windows.Common-Controls' and @version='6.0.0.0' and @publicKeyToken='6595b64144ccf1df']"
  "/$(E assembly $asm1)/$(E assemblyIdentity $asm1)[@name='Quorrin.ErrorLookup' and @version='2.0.0.0']"
  "/$(E assembly $asm1)/$(E trustInfo $asm3)/$(E security $asm3)/$(E requestedPrivileges $asm3)/$(E requestedExecutionLevel $asm3)[@level='asInvoker' and @uiAccess='false']"
  "/$(E assembly $asm1)/$(E application $asm3)/$(E windowsSettings $asm3)/$(E dpiAware $settings)[normalize-space()='true']"
)
for os in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
  4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
  8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  checks+=("/$(E assembly $asm1)/$(E compatibility $compat)/$(E application $compat)/$(E supportedOS $compat)[@Id='{$os}']")
done
status=0
for xpath in "${checks[@]}"; do
  count=$(xmllint --xpath "count($xpath)" - <<<"$manifest")
  [ "$count" = 1 ] || { echo "not declared once: $xpath"; status=1; }
done
# Per-monitor awareness would need every window to lay itself out again.
grep -q 'dpiAwareness\|PerMonitor' <<<"$manifest" && { echo "per-monitor awareness declared"; status=1; }
[ "$status" -eq 0 ] && echo "manifest ok"
exit $status
