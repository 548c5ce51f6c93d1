# Shared build settings and helpers for the subsystem libraries, tools and tests.

set(ORVEL_WARNINGS -Wall -Wextra)
if(ORVEL_WERROR)
  list(APPEND ORVEL_WARNINGS -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 at -O3 reports impossible overlaps inside std::string's own
  # appends (-Wrestrict false positives in libstdc++), which -Werror turns fatal.
  list(APPEND ORVEL_WARNINGS -Wno-restrict)
endif()

if(ORVEL_FUZZ)
  # Every library is instrumented for coverage so libFuzzer can steer.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
endif()

if(ORVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # With the sanitizers GCC loses track of std::regex's internal states and
    # reports them as maybe uninitialised (false positives inside libstdc++).
    list(APPEND ORVEL_WARNINGS -Wno-maybe-uninitialized)
  endif()
endif()

# orvel_library(<name> SOURCES file... [DEPS lib...] [PRIVATE_DEPS lib...])
# One core library orvel_<name> from the listed files. DEPS are the libraries
# whose headers this one's headers or sources include; which layers may be
# named here is checked by the layering test.
function(orvel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(orvel_${name} STATIC ${ARG_SOURCES})
  target_include_directories(orvel_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(orvel_${name} PRIVATE ${ORVEL_WARNINGS})
  target_link_libraries(orvel_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  set_target_properties(orvel_${name} PROPERTIES AUTOMOC OFF)
endfunction()

# orvel_forms(<name> [DEPS lib...])
# Builds the Qt forms of the current folder's forms/ into orvel_<name>_forms.
function(orvel_forms name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  if(NOT ORVEL_GUI)
    return()
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.h)
  if(NOT sources)
    return()
  endif()
  add_library(orvel_${name}_forms STATIC ${sources})
  target_include_directories(orvel_${name}_forms PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(orvel_${name}_forms PRIVATE ${ORVEL_WARNINGS})
  target_link_libraries(orvel_${name}_forms PUBLIC ${ARG_DEPS} Qt6::Widgets)
  set_target_properties(orvel_${name}_forms PROPERTIES AUTOMOC ON)
endfunction()

# orvel_test(<name> LIBS lib... [SOURCES file...])
# One GoogleTest binary per subsystem from the .cpp files of the current folder.
function(orvel_test name)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${sources} ${ARG_SOURCES})
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(test_${name} PRIVATE ${ORVEL_WARNINGS})
  target_compile_definitions(test_${name} PRIVATE
    ORVEL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    ORVEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ORVEL_BUILD_DIR="${CMAKE_BINARY_DIR}")
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_dependencies(test_${name} orvel_data)
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()
