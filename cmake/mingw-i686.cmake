# The 32-bit Windows program: the one that is released.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZQMV5_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
