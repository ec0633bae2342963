# Helpers that declare the tree's libraries and tests. Every file is named:
# a file missing from disk stops the configure step, and a file left out of
# a list is not built, so neither can go unnoticed.

# le_module(NAME [EXPORT_NAME name] [SOURCES files...] [HEADERS files...]
#           [DEPS libs...] [TESTS files...] [TEST_DEPS libs...] [NO_INSTALL])
#   A static library of SOURCES (header-only when there are none) whose
#   HEADERS are installed under include/labelengine/ with their paths from the
#   repository root, and, when TESTS are given and tests are on, the test
#   executable NAME_tests linking NAME and TEST_DEPS. Paths are relative to the
#   calling directory. Installed libraries are also known as
#   labelengine::<EXPORT_NAME>, in this tree and in the installed package.
function(le_module name)
  cmake_parse_arguments(M "NO_INSTALL" "EXPORT_NAME" "SOURCES;HEADERS;DEPS;TESTS;TEST_DEPS" ${ARGN})
  if(M_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "le_module(${name}): unexpected '${M_UNPARSED_ARGUMENTS}'; "
                        "name every file under SOURCES, HEADERS or TESTS")
  endif()
  if(M_SOURCES)
    add_library(${name} STATIC ${M_SOURCES})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  # Code and tests include every header by its path from the repository root.
  target_include_directories(${name} ${scope} $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
  if(M_HEADERS)
    target_sources(${name} ${scope}
      FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR} FILES ${M_HEADERS})
  endif()
  target_link_libraries(${name} ${scope} ${M_DEPS})
  target_compile_features(${name} ${scope} cxx_std_20)
  if(NOT M_NO_INSTALL)
    le_export(${name} ${M_EXPORT_NAME})
  endif()
  if(M_TESTS)
    le_tests(${name}_tests ${M_TESTS} DEPS ${name} ${M_TEST_DEPS})
  endif()
endfunction()

# le_export(TARGET EXPORT_NAME): installs TARGET as labelengine::EXPORT_NAME and
# gives it that alias in the tree, so a parent project that adds this one as a
# subdirectory names the targets as an installed package's users do.
function(le_export target export_name)
  if(NOT export_name)
    message(FATAL_ERROR "le_export(${target}): an installed library needs an EXPORT_NAME")
  endif()
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${export_name})
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    # lib/liblabelengine_<name>.a rather than a bare, clash-prone libintake.a.
    if(NOT export_name STREQUAL "labelengine")
      set_target_properties(${target} PROPERTIES OUTPUT_NAME labelengine_${export_name})
    endif()
    set_property(GLOBAL APPEND PROPERTY LABELENGINE_LINK_ORDER ${target})
  endif()
  add_library(labelengine::${export_name} ALIAS ${target})
  set_property(GLOBAL APPEND PROPERTY LABELENGINE_INSTALL_TARGETS ${target})
endfunction()

# le_parser(NAME SOURCES ... HEADERS ... [TESTS ...] [DEPS ...]): one language's
# parser library (parsers/<language>/). It joins the engine library, and its
# tests may make parsers through the factory.
function(le_parser name)
  cmake_parse_arguments(P "" "" "SOURCES;HEADERS;DEPS;TESTS" ${ARGN})
  if(P_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "le_parser(${name}): unexpected '${P_UNPARSED_ARGUMENTS}'")
  endif()
  string(REGEX REPLACE "^le_" "" export_name ${name})
  le_module(${name} EXPORT_NAME ${export_name}
    SOURCES ${P_SOURCES} HEADERS ${P_HEADERS} DEPS le_parser_base ${P_DEPS}
    TESTS ${P_TESTS} TEST_DEPS labelengine)
  target_link_libraries(labelengine PUBLIC ${name})
endfunction()

# le_tests(NAME files... DEPS libs...): a GoogleTest executable registered with
# CTest. Does nothing when tests are off.
function(le_tests name)
  if(NOT LABELENGINE_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  if(NOT T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "le_tests(${name}): no test files")
  endif()
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Where tests find the examples; __FILE__ may be relative under ccache.
  target_compile_definitions(${name} PRIVATE LABELENGINE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LABELHOST_STORE=${CMAKE_BINARY_DIR}/test-store")
endfunction()
