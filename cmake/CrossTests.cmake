# GoogleTest built from Debian's source package for the target system, since
# the installed libraries are built for the build machine only.
set(PLN_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${PLN_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources missing at ${PLN_GTEST_SOURCE} (Debian: googletest)")
endif()
enable_language(C)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
# It names its targets GTest::gtest, GTest::gmock, ... itself.
add_subdirectory(${PLN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The tests run under Wine in a prefix of this build folder, made once by a
# fixture, quietly and without asking to install Mono or Gecko. Tests that
# open windows need a display: the whole run goes under xvfb-run.
set(PLN_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(PLN_WINE_ENVIRONMENT WINEPREFIX=${PLN_WINE_PREFIX} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)
add_test(NAME wine_prefix COMMAND sh -c "wineboot --init && wineserver -w")
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
                     ENVIRONMENT "${PLN_WINE_ENVIRONMENT}")
