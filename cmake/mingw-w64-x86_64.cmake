# Cross-compiles for Windows x86-64 with Debian's MinGW-w64 (the posix thread model, which Qt needs for
# std::thread and std::mutex). Qt for Windows is found through TALVEX_QT_WINDOWS (the unpacked Qt, see
# scripts/test-windows.sh); Qt's own host tools (moc, rcc, uic) are Debian's, of the same version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT TALVEX_QT_WINDOWS)
  set(TALVEX_QT_WINDOWS "$ENV{TALVEX_QT_WINDOWS}")
endif()
if(NOT TALVEX_QT_WINDOWS)
  set(TALVEX_QT_WINDOWS /var/cache/talvex-qt-mingw/qt6.4.2-mingw-w64)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${TALVEX_QT_WINDOWS}")
list(APPEND CMAKE_PREFIX_PATH "${TALVEX_QT_WINDOWS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# ctest runs each test executable under Wine, which finds Qt's and MinGW's DLLs through WINEPATH.
find_program(TALVEX_WINE NAMES wine wine64)
if(TALVEX_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TALVEX_WINE}")
endif()
