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

# Clang does not recognise Debian's "<version>-posix" folder as a GCC
# installation, so the C++ headers and GCC's runtime are named outright.
# The folder is the one the installed posix g++ uses, whatever its version.
execute_process(
  COMMAND i686-w64-mingw32-g++-posix -print-libgcc-file-name
  OUTPUT_VARIABLE quorrin_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE quorrin_libgcc_result)
if(NOT quorrin_libgcc_result EQUAL 0 OR NOT EXISTS "${quorrin_libgcc}")
  message(FATAL_ERROR "i686-w64-mingw32-g++-posix did not name its libgcc.a")
endif()
get_filename_component(quorrin_gcc_dir "${quorrin_libgcc}" DIRECTORY)
string(JOIN " " CMAKE_CXX_FLAGS_INIT
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++"
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++/i686-w64-mingw32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${quorrin_gcc_dir}")
