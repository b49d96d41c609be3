# Cross toolchain for 32-bit Windows with Debian's clang, over the same
# mingw-w64 headers and libraries as the gcc build: a second compiler
# reports problems the first one lets through. It builds Quorrin.exe only
# (its preset has no tests); the exe uses no libstdc++ code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_SYSROOT /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Clang 14 does not recognise Debian's "12-posix" folder as a GCC
# installation, so the C++ headers and GCC's runtime are named outright.
set(quorrin_gcc_dir /usr/lib/gcc/i686-w64-mingw32/12-posix)
string(JOIN " " CMAKE_CXX_FLAGS_INIT
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++"
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++/i686-w64-mingw32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${quorrin_gcc_dir}")
