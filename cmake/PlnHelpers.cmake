# Helpers shared by every folder: warnings, the Qt-free core libraries, the
# Qt libraries and the test executables.

function(pln_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    if(PLN_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual
    -Wimplicit-fallthrough)
  # GCC 12 reports -Wrestrict falsely for "literal" + std::string at -O2 and
  # above (its bug 105329); the warning is left to other compilers.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(PLN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(PLN_SANITIZE)
    # Undefined behaviour aborts like a memory error, so a test cannot pass
    # over it.
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A Qt-free library: sources of the current folder, never linked to Qt, so a
# Qt include in it cannot compile.
#   pln_add_core_library(NAME [DEPS lib...])
function(pln_add_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
  if(NOT ARG_SOURCES)
    file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  pln_set_warnings(${name})
endfunction()

# A Qt Widgets library: sources and .ui files of the current folder.
#   pln_add_ui_library(NAME [DEPS lib...])
function(pln_add_ui_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.ui
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON AUTORCC ON)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC Qt6::Widgets Qt6::Charts ${ARG_DEPS})
  pln_set_warnings(${name})
endfunction()

# A GoogleTest executable from the .cpp files of the current folder.
# Files named posix_*.cpp, the tests of pln-tool's command lines (written for
# a POSIX shell: its quoting, its line ends) and the files listed as
# POSIX_ONLY (fork, signals, POSIX file calls) are left out of Windows builds.
#   pln_add_core_test(NAME [DEPS lib...] [POSIX_ONLY file.cpp...])
function(pln_add_core_test name)
  cmake_parse_arguments(ARG "" "" "DEPS;POSIX_ONLY" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "/(posix_[^/]*|pln_tool_[^/]*|[^/]*_tool_test)\\.cpp$")
    foreach(file ${ARG_POSIX_ONLY})
      list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} pln_test_support GTest::gmock GTest::gtest_main)
  pln_set_warnings(${name})
  if(CMAKE_CROSSCOMPILING)
    # One emulator start per executable, not per test: Wine takes a while.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES LABELS unit TIMEOUT 600 FIXTURES_REQUIRED wine
                         ENVIRONMENT "${PLN_WINE_ENVIRONMENT}")
  else()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
  endif()
endfunction()

# A Qt Test executable: one test class per .cpp file of the current folder,
# run on the offscreen platform.
#   pln_add_ui_test(NAME SOURCE file.cpp [DEPS lib...])
function(pln_add_ui_test name)
  cmake_parse_arguments(ARG "" "SOURCE" "DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCE})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} pln_test_support Qt6::Test Qt6::Widgets)
  pln_set_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ui TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
