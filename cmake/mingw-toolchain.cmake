# Cross-compiles for Windows with mingw-w64. AUTORUN_ARCH picks the target:
# i686 (the shipped 32-bit launcher) or x86_64 (a test twin for machines that
# cannot execute 32-bit code, and so cannot run 32-bit Wine).
set(AUTORUN_ARCH "i686" CACHE STRING "mingw-w64 target: i686 or x86_64")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${AUTORUN_ARCH})

# The -posix thread model: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER   ${AUTORUN_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${AUTORUN_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${AUTORUN_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AUTORUN_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine)
