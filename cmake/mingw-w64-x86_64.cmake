# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads), as tools/windows-core.sh uses it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QD_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QD_MINGW_PREFIX}-windres)

# Headers and libraries come from the mingw-w64 tree only, never from the build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${QD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: the programs run without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
