# Cross-compiling for Windows x86-64 with Debian's MinGW-w64 GCC, posix threads variant
# (std::thread and std::mutex need it). Used for Qt itself, the libraries below the program
# and the program; scripts/windows/build passes it.
#
# SCORVEX_WIN_ROOT (default /opt/qt-mgw) holds the Windows Qt in qt6-mingw/ and the other
# Windows libraries in deps/; both are searched like the compiler's own sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

if(NOT SCORVEX_WIN_ROOT)
  if(DEFINED ENV{SCORVEX_WIN_ROOT})
    set(SCORVEX_WIN_ROOT $ENV{SCORVEX_WIN_ROOT})
  else()
    set(SCORVEX_WIN_ROOT /opt/qt-mgw)
  endif()
endif()
# try_compile projects see the same folders.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SCORVEX_WIN_ROOT)

set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${SCORVEX_WIN_ROOT}/qt6-mingw ${SCORVEX_WIN_ROOT}/deps)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's build tools (moc, rcc, uic) come from Debian's own Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# pkg-config looks at the Windows libraries only, never at the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} ${SCORVEX_WIN_ROOT}/deps/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The host's rcc (Debian's) compresses with zstd, which this Qt for Windows has not.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)
