# Quorrin.exe is linked without the C runtime's start-up code, which is what
# runs static constructors: an object of the product that needs one would be
# left uninitialised without a sound. So none may need one.
set -euo pipefail
exe=$1
build=$(dirname "$exe")
objects=("$build/libquorrin_gui.a" "$build/libquorrin_core.a"
  "$build/CMakeFiles/Quorrin.dir/app/main.cpp.obj")
for object in "${objects[@]}"; do
  [ -f "$object" ] || { echo "missing: $object"; exit 1; }
done
found=$(i686-w64-mingw32-objdump -h "${objects[@]}" |
  awk '/file format/ { file = $1 } $2 ~ /^\.(ctors|init_array|CRT\$X)/ { print file, $2 }')
if [ -n "$found" ]; then
  echo "static constructors, which would never run:"
  echo "$found"
  exit 1
fi
echo "ok: no static constructors in ${#objects[@]} inputs"
