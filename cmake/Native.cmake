# The portable logic on the build host: unit tests under ASan and UBSan, and libFuzzer targets.
enable_testing()
set(VROK_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${VROK_SANITIZE} -g)
add_link_options(${VROK_SANITIZE})

add_library(vrokportable STATIC ${VROK_PORTABLE_SOURCES})
target_include_directories(vrokportable PUBLIC ${CMAKE_SOURCE_DIR})

set(GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
add_subdirectory(tests/unit)

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    add_subdirectory(tests/fuzz)
endif()
