# Cross-compiles VROK for 32-bit Windows with MinGW-w64; built to keep the code right for both
# word sizes, not run here (Wine's 32-bit loader would replace the 64-bit one).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VROK_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
