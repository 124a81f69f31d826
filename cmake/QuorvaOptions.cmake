# Compile options shared by every target of the program and its tests.
add_library(quorva_options INTERFACE)
target_compile_features(quorva_options INTERFACE cxx_std_20)
target_compile_options(quorva_options INTERFACE -Wall -Wextra)

# Sources are UTF-8; string literals become GBK bytes, the program's code page.
# GB18030 encodes every GBK character with the same bytes, and unlike GBK it
# can also encode the few non-GBK literals inside the standard headers (<chrono>).
# (clang, used only for the fuzz build, cannot re-encode literals; the code the
# fuzzers reach holds no non-ASCII literals.)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(quorva_options INTERFACE -finput-charset=UTF-8 -fexec-charset=GB18030)
endif()

if(WIN32)
  target_compile_definitions(quorva_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
  target_link_options(quorva_options INTERFACE -static)
endif()

option(QUORVA_SANITIZE "Build with AddressSanitizer and UBSan (host only)" OFF)
if(QUORVA_SANITIZE AND NOT WIN32)
  target_compile_options(quorva_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(quorva_options INTERFACE -fsanitize=address,undefined)
endif()

option(QUORVA_TSAN "Build with ThreadSanitizer (host only; the test step builds just the threaded tests)" OFF)
if(QUORVA_TSAN AND NOT WIN32)
  target_compile_options(quorva_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(quorva_options INTERFACE -fsanitize=thread)
endif()

option(QUORVA_FUZZ "Build the libFuzzer targets (clang, host only)" OFF)

# quorva_add_test(NAME SOURCES ... LIBS ...): a GoogleTest program registered with CTest.
# Under the Windows build CTest runs it through Wine (the toolchain's emulator).
function(quorva_add_test name)
  if(QUORVA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    # A crash under Wine must fail the test, not end the process with 0.
    list(APPEND T_SOURCES ${PROJECT_SOURCE_DIR}/test_support/win32_crash_exit.cpp)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quorva_options GTest::gtest_main)
  # A test's own code is assertions and drivers: compiled unoptimised it builds
  # three to five times faster. The code under test comes from the libraries,
  # which keep the build's optimisation.
  target_compile_options(${name} PRIVATE -O0)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
