# Shared part of the mingw-w64 toolchain files. The posix thread model is needed for std::mutex
# (GoogleTest uses it).
set(CMAKE_C_COMPILER ${RAVELINK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RAVELINK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RAVELINK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RAVELINK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every test and tool run goes through Wine with the build's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/winerun.sh)
