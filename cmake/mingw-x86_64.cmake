# 64-bit Windows: used for running the tests on hosts whose CPU cannot execute 32-bit code
# (tools/ravelink.sh chooses). The sources are the same; only the pointer size differs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(RAVELINK_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
