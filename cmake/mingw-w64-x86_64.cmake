# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compiler, POSIX
# thread model (std::thread, which Qt needs). Used for Qt itself
# (scripts/build-qt-windows.sh) and, chain-loaded by Qt's own toolchain
# file, for Norvana.exe and its tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is one file: libstdc++, libgcc and winpthread go inside it,
# so that it needs no DLL but those that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Source files are named from the top of their source or build folder ("./"),
# never by the builder's own paths.
foreach(language C CXX)
    string(APPEND CMAKE_${language}_FLAGS_INIT
        " -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
endforeach()
