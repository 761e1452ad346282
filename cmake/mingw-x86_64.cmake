# Cross toolchain for the 64-bit Windows program.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
