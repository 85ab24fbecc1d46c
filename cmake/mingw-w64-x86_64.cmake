# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model is the one whose libstdc++ has std::thread and std::mutex.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...   (or scripts/build-windows)
# VK_QT_MINGW names an unpacked Qt for mingw (../shared/qt6-mingw): the desktop tool and
# its tests are built against it, with moc, rcc and uic from the host's Qt of the same
# version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VK_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VK_MINGW_TRIPLE})
if(VK_QT_MINGW)
  # The cross search stays inside the find roots: the SDK must be one of them.
  list(APPEND CMAKE_FIND_ROOT_PATH ${VK_QT_MINGW})
  list(APPEND CMAKE_PREFIX_PATH ${VK_QT_MINGW})
  set(QT_HOST_PATH /usr CACHE PATH "The host's Qt, for moc, rcc and uic")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt the compiler's runtime (libstdc++, libgcc, winpthread) goes into every program
# and library, so that they run with no DLLs beside them. Qt's DLLs use the runtime's DLLs,
# and a program must share that one copy of libstdc++ with them.
if(NOT VK_QT_MINGW)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
  set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
endif()

# Tests run under Wine where it is installed (Debian's wine64 keeps its loader here).
find_program(VK_WINE64 NAMES wine64 PATHS /usr/lib/wine /usr/lib64/wine NO_CMAKE_FIND_ROOT_PATH)
if(VK_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VK_WINE64})
endif()
