# Shared settings for the project's own targets: warnings as errors and the sanitizer flags.
set(KELPA_SANITIZE_FLAGS "")
if(KELPA_SANITIZE STREQUAL "address")
  set(KELPA_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
elseif(KELPA_SANITIZE STREQUAL "thread")
  set(KELPA_SANITIZE_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT KELPA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KELPA_SANITIZE must be empty, 'address' or 'thread'")
endif()
if(KELPA_SANITIZE_FLAGS)
  add_compile_options(${KELPA_SANITIZE_FLAGS})
  add_link_options(${KELPA_SANITIZE_FLAGS})
endif()

# Headers nearly every source file pulls in; precompiled once per target, they take most of
# the parsing out of each compile (nlohmann/json and GoogleTest dominate otherwise).
option(KELPA_PCH "Precompile the common headers" ON)
set(KELPA_PCH_HEADERS <algorithm> <chrono> <functional> <map> <memory> <optional> <string> <vector>
    <nlohmann/json.hpp> <fmt/format.h>)

function(kelpa_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  get_target_property(sources ${target} SOURCES)
  list(LENGTH sources count)
  if(KELPA_PCH AND count GREATER 2)
    target_precompile_headers(${target} PRIVATE ${KELPA_PCH_HEADERS} ${ARGN})
  endif()
endfunction()

# kelpa_test(name SOURCES... LIBS...): one GoogleTest executable, registered with ctest.
function(kelpa_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  kelpa_target(${name} <gtest/gtest.h> <gmock/gmock.h>)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TZ=Europe/Berlin;LC_ALL=C.UTF-8")
endfunction()
include(GoogleTest)
