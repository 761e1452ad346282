# Shared by both cross toolchains: MinGW-w64 for Windows (the -posix thread model, so
# std::thread and std::mutex work), with a fully static C/C++ runtime so the exe needs only
# system DLLs, sqlite3.dll and FlexCelDyn.dll next to it. The including file sets
# VK_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${VK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VK_MINGW_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${VK_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${VK_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")
# The import library of FlexCelDyn.dll must come from this architecture's dlltool.
set(VK_DLLTOOL         /usr/bin/${VK_MINGW_TRIPLE}-dlltool CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and tools run under Wine through this script; it picks the Wine loader and prefix of
# the program's own architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)

# Compiler cache, when installed: paths are hashed relative to the source tree, so separate
# checkouts of the project share cached objects.
find_program(VK_CCACHE ccache)
if(VK_CCACHE)
  get_filename_component(vk_source_root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
  set(vk_launcher /usr/bin/env CCACHE_BASEDIR=${vk_source_root} CCACHE_NOHASHDIR=true ${VK_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${vk_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${vk_launcher})
endif()
