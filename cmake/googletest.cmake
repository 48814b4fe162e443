# GoogleTest for the native tests: the installed package, else Debian's sources built with the
# project's own flags.
find_package(GTest QUIET)
if(NOT TARGET GTest::gmock)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
endif()
include(GoogleTest)
