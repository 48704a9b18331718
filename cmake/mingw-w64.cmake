# Cross build for 64-bit Windows with Debian's MinGW-w64, whose tests run
# under Wine:
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVELTRANE_GUI=OFF -DVELTRANE_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix-threads flavour: the tool and its tests use std::thread.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime libraries: each .exe runs on its own, under Wine or on a
# Windows machine, with no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest starts the test programs through Wine (wine-run.sh), in a Wine prefix
# of the build folder's own, quietly.
find_program(VELTRANE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VELTRANE_WINE AND NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
      sh ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${VELTRANE_WINE})
endif()
