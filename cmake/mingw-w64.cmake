# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads);
# the programs it builds run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# Qt for Windows, when given, is searched like the MinGW root.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${KAV_QT_WINDOWS})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KAV_QT_WINDOWS)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained executable per test program: no MinGW DLLs to find.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
