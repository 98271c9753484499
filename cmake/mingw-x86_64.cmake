# The 64-bit Windows program, for testing on hosts whose Wine runs no 32-bit
# programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZQMV5_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
