# GoogleTest for the host build's unit tests. Include it from every folder that has tests; it sets up
# GoogleTest once per build and makes GTest::gtest and GTest::gtest_main visible to the whole build.
#
#   include(${CMAKE_CURRENT_LIST_DIR}/../cmake/GoogleTest.cmake)   # or the matching relative path
#   target_link_libraries(my_tests PRIVATE GTest::gtest_main)
#   gtest_discover_tests(my_tests DISCOVERY_MODE PRE_TEST)   # found when ctest runs, not at link time
# CMake's own module: gtest_discover_tests(). Included in every folder that includes this file, since the
# module keeps the path of its discovery script in a variable of the including folder.
include(GoogleTest)

include_guard(GLOBAL)

if(NOT TARGET GTest::gtest_main)
    # Debian's libgtest-dev ships a prebuilt library and its CMake package; GLOBAL makes its imported
    # targets usable from every folder, not just the one that included this file first.
    find_package(GTest CONFIG QUIET GLOBAL)
endif()

if(NOT TARGET GTest::gtest_main)
    # Else build it from the sources the same package puts under /usr/src/googletest.
    set(RAVELIX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, used when no GTest package is found")
    if(NOT EXISTS ${RAVELIX_GOOGLETEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest not found: install libgtest-dev (scripts/install-deps.sh does)")
    endif()
    if(NOT TARGET gtest)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(${RAVELIX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
    endif()
    if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
    endif()
    if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
endif()
