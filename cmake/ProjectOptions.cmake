# Warnings and sanitizer switch shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

# Sanitized builds stop at the first report, so that a test run cannot pass over one.
option(TONVELLA_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
if(TONVELLA_SANITIZE)
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=address,undefined>
                        $<$<COMPILE_LANGUAGE:C,CXX>:-fno-sanitize-recover=all>
                        $<$<COMPILE_LANGUAGE:C,CXX>:-fno-omit-frame-pointer>)
    add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer targets in fuzz/: every library gets coverage instrumentation and the sanitizers.
option(TONVELLA_FUZZ "Build the fuzz targets (needs CMAKE_CXX_COMPILER=clang++)" OFF)
if(TONVELLA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TONVELLA_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=fuzzer-no-link,address,undefined>
                        $<$<COMPILE_LANGUAGE:C,CXX>:-fno-sanitize-recover=all>
                        $<$<COMPILE_LANGUAGE:C,CXX>:-fno-omit-frame-pointer>)
    add_link_options(-fsanitize=address,undefined)
endif()

# How long a test may run before it counts as hung. Tests wait for states, never for times, but
# a busy machine (a build, two other processes, the sanitizers) stretches the processor time a
# test needs many times over: the limits only catch a test that would never end.
set(TONVELLA_TEST_TIMEOUT 900)
# Listing a test executable's tests runs it while building.
set(TONVELLA_DISCOVERY_TIMEOUT 300)

# GoogleTest's headers take longer to read than most test files take to compile: every test
# target reads them once per build, from the precompiled headers of tonvella_test_headers.
function(tonvella_precompiled_test_headers target)
    target_precompile_headers(${target} REUSE_FROM tonvella_test_headers)
endfunction()

# Registers a GoogleTest executable from the given sources.
function(tonvella_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    tonvella_precompiled_test_headers(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT ${TONVELLA_DISCOVERY_TIMEOUT}
                         PROPERTIES TIMEOUT ${TONVELLA_TEST_TIMEOUT})
endfunction()

# Environment of tests that run the whole game as a process. The game ends with the audio and
# renderer threads still running, and LeakSanitizer's stop-the-world tracer then crashes now and
# then ("Tracer caught signal 11"). Leaks are checked by the unit tests; the game processes keep
# every other sanitizer check.
set(TONVELLA_GAME_PROCESS_ENV "ASAN_OPTIONS=halt_on_error=1:detect_leaks=0")

# Tests that click and type into the real game get an X server of their own, so that they can
# run side by side: on one shared display a second game window would take the focus, and with it
# the keys, from the first. The server picks a free number as it starts, so the tests of another
# build or checkout running at the same time never take it.
function(tonvella_display_command out)
    set(${out} ${PROJECT_SOURCE_DIR}/tests/own_display.sh PARENT_SCOPE)
endfunction()
