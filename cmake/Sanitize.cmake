# SPDX-License-Identifier: GPL-3.0-or-later
# CLARIFIER_SANITIZE names the sanitizers of a build that holds only the
# condensing core, the run and their tests: "address,undefined" or "thread".
# Nothing recovers: the first report ends the test program with a failure.
# With clang and AddressSanitizer, the build also holds the fuzzer.
set(CLARIFIER_SANITIZE "" CACHE STRING
    "Sanitizers for a build of the core and run tests only: address,undefined or thread")
set_property(CACHE CLARIFIER_SANITIZE PROPERTY STRINGS "" "address,undefined" "thread")

set(CLARIFIER_FUZZ OFF)
set(CLARIFIER_SANITIZER_ENVIRONMENT "")
if(CLARIFIER_SANITIZE)
    if(MSVC)
        message(FATAL_ERROR "CLARIFIER_SANITIZE needs GCC or Clang")
    endif()
    add_compile_options(-fsanitize=${CLARIFIER_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${CLARIFIER_SANITIZE})
    # What the tests run with, also when ctest is called by hand.
    set(CLARIFIER_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:check_initialization_order=1"
        "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp"
        "UBSAN_OPTIONS=print_stacktrace=1"
        "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp")
    if(CLARIFIER_SANITIZE MATCHES "address" AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        set(CLARIFIER_FUZZ ON)
    endif()
endif()
