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
# One wine server serves the whole run, with the prefix's system processes
# (services, plugplay, ...): left to itself, the server ends a few seconds
# after its last client, and a test starting at that moment is refused. The
# prefix is made first; the server and the processes are then started with
# their standard streams away from ctest's, which would otherwise wait for
# them to close. The cleanup ends them all.
set(PLN_WINE_QUIET "</dev/null >/dev/null 2>&1")
add_test(NAME wine_prefix
         COMMAND sh -c "wineboot --init && wineserver -w && wineserver -p ${PLN_WINE_QUIET} && wineboot ${PLN_WINE_QUIET}")
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
                     ENVIRONMENT "${PLN_WINE_ENVIRONMENT}")
# The cleanup waits until the server has gone: a run started at once after
# this one would otherwise find it shutting down and be refused.
add_test(NAME wine_server_end COMMAND sh -c "wineserver -k; wineserver -w")
set_tests_properties(wine_server_end PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60
                     ENVIRONMENT "${PLN_WINE_ENVIRONMENT}")
