# Cross-compiles VROK for 32-bit Windows with MinGW-w64; built to keep the code right for both
# word sizes, not run here (Wine's 32-bit loader would replace the 64-bit one).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VROK_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VROK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VROK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VROK_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VROK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
