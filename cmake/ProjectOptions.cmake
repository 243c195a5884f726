# Warnings and sanitizer switch shared by every target of the project.
add_compile_options(-Wall -Wextra -Wno-unused-parameter)

option(TONVELLA_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
if(TONVELLA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Registers a GoogleTest executable from the given sources.
function(tonvella_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 PROPERTIES TIMEOUT 120)
endfunction()
