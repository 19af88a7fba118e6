# Build settings shared by every target of the program's own code.

set(SM_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

function(sm_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # Nothing reads errno after a math function; without it rounding and
  # square roots are single instructions instead of library calls.
  target_compile_options(${target} PRIVATE -fno-math-errno)
  # GCC 12 reports overlapping copies inside std::string at -O3 that cannot
  # happen (GCC bug 105651); the warning stays on for other compilers.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(SM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(SM_SANITIZE OR SM_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  # The fuzzer's coverage in every target; only the fuzz programs link the
  # fuzzer's main(), the tests run as usual beside them.
  if(SM_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# One library per layer folder: sm_layer(name SOURCES ... LINKS ...); the
# few small libraries beside the layers (the CRC module, the shared test
# code) are made the same way.
# A layer without sources yet is an interface library, so that later layers
# can already link it. Every library is linked as sm::name: a mistyped alias
# stops the configure step, where a mistyped plain name would pass as a
# linker flag.
function(sm_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  if(L_SOURCES)
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${SM_ROOT})
    target_link_libraries(${name} PUBLIC ${L_LINKS})
    sm_settings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${SM_ROOT})
    target_link_libraries(${name} INTERFACE ${L_LINKS})
  endif()
  add_library(sm::${name} ALIAS ${name})
endfunction()

# One GoogleTest program per layer, each test case registered with CTest.
function(sm_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LINKS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  sm_settings(${name})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ${T_PROPERTIES})
endfunction()
