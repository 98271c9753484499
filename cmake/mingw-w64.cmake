# Cross build of a Windows program with MinGW-w64 (posix thread model).
# Included by the toolchain file of each target, which names the processor and
# the tools' prefix first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ZQMV5_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZQMV5_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZQMV5_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZQMV5_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
