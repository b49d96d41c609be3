# Cross toolchain for 32-bit Windows with Debian's clang, over the same
# mingw-w64 headers and libraries as the gcc build: a second compiler
# reports problems the first one lets through.
#
# Build only: do not run the test programs built here. Clang 14 gives an
# empty argument (an iterator tag) no stack slot in 32-bit member calls while
# GCC gives it one, so a clang copy of a libstdc++ template that the gcc-built
# library calls unbalances the stack (an open clang bug); GoogleTest's
# std::string code crashes at start-up. Quorrin.exe uses no libstdc++.
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
# installation, so the C++ library is named outright. The posix variant,
# because GoogleTest needs std::mutex; its threads come from winpthreads.
set(quorrin_gcc_dir /usr/lib/gcc/i686-w64-mingw32/12-posix)
# That libstdc++ keeps thread-locals (std::call_once's callable among them)
# in GCC's emulated TLS; with clang's native TLS they would not be shared.
string(JOIN " " CMAKE_CXX_FLAGS_INIT
  "-femulated-tls"
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++"
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++/i686-w64-mingw32"
  "-stdlib++-isystem ${quorrin_gcc_dir}/include/c++/backward")
# lld resolves archives in any order, so -lpthread may come first.
set(quorrin_link_flags "-fuse-ld=lld -L${quorrin_gcc_dir} -lpthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${quorrin_link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${quorrin_link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${quorrin_link_flags}")

# ctest runs the Windows test programs through Wine, in the project's prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-exec)
