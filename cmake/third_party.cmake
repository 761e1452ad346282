# SQLite (from Debian's source package, prepared by tools/bootstrap.sh) as sqlite3.dll with its
# import library, and GoogleTest from Debian's /usr/src/googletest, both built by MinGW.

set(VK_SQLITE_DIR ${VK_DEPS_DIR}/sqlite)
if(NOT EXISTS ${VK_SQLITE_DIR}/sqlite3.c)
  message(FATAL_ERROR "${VK_SQLITE_DIR}/sqlite3.c is missing: run tools/bootstrap.sh first")
endif()
add_library(sqlite3 SHARED ${VK_SQLITE_DIR}/sqlite3.c)
# Default options only: the schema relies on double-quoted string literals being accepted.
target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1 "SQLITE_API=__declspec(dllexport)")
target_include_directories(sqlite3 INTERFACE ${VK_SQLITE_DIR})
set_target_properties(sqlite3 PROPERTIES PREFIX "" OUTPUT_NAME sqlite3 IMPORT_PREFIX "lib")
target_compile_options(sqlite3 PRIVATE -w)

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
