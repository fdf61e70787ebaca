# Cross-builds the Windows program with Debian's MinGW-w64 (64-bit, POSIX
# threads model, so the C++ library's threads and mutexes are there too).
#   cmake -S . -B build-win -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORBITRIX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORBITRIX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORBITRIX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORBITRIX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORBITRIX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime, libgcc and winpthread linked in: the .exe runs on a bare
# Windows (or wine) with nothing but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests run under wine, on a console of their own (see cmake/wine-run).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
