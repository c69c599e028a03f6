# Read by ctest in the main tree: adds every test of the sanitizer build (KOVA_SANITIZE, made by
# ./kova test in build-asan/) as asan.<name>, with its own command, folder and environment, plus
# sanitizer options under which any finding fails the test. The caller sets kova_ctest (the ctest
# program), kova_asan_default_build and kova_asan_suppressions.
if(DEFINED ENV{KOVA_ASAN_BUILD_DIR})
  set(asan_build "$ENV{KOVA_ASAN_BUILD_DIR}")
else()
  set(asan_build "${kova_asan_default_build}")
endif()

# The first finding ends the process with a failing status. Leak checking stays on, with what Qt
# itself leaks in the suppression file; allocations are traced by the slow unwinder, as Qt is
# built without frame pointers and a suppression needs the library's frame in the stack. The
# root has addr2line (binutils), not llvm-symbolizer.
set(symbolizer "external_symbolizer_path=/usr/bin/addr2line")
set(asan_environment
  "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:fast_unwind_on_malloc=0:${symbolizer}"
  "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:${symbolizer}"
  "LSAN_OPTIONS=suppressions=${kova_asan_suppressions}:print_suppressions=0")

# A sanitizer build that is missing or unreadable is one failing entry, not silently no tests.
function(asan_tests_unavailable why)
  string(REPLACE "'" "" why "${why}")
  add_test(asan.unavailable sh -c "echo 'asan: ${why}; ./kova test builds it' >&2; exit 1")
endfunction()

if(NOT EXISTS "${asan_build}/CTestTestfile.cmake")
  asan_tests_unavailable("no sanitizer build in ${asan_build}")
  return()
endif()

execute_process(COMMAND "${kova_ctest}" --show-only=json-v1 --test-dir "${asan_build}"
  OUTPUT_VARIABLE listing ERROR_VARIABLE listing_error RESULT_VARIABLE listing_status)
string(JSON test_count ERROR_VARIABLE json_error LENGTH "${listing}" tests)
if(NOT listing_status EQUAL 0 OR json_error OR test_count EQUAL 0)
  asan_tests_unavailable("the tests of ${asan_build} cannot be listed: ${listing_error}${json_error}")
  return()
endif()

math(EXPR last "${test_count} - 1")
foreach(index RANGE ${last})
  string(JSON name GET "${listing}" tests ${index} name)
  string(JSON command ERROR_VARIABLE no_command GET "${listing}" tests ${index} command)
  if(no_command)
    add_test(asan.${name} sh -c "echo 'asan: ${name} has no executable in ${asan_build}' >&2; exit 1")
    continue()
  endif()
  set(arguments "")
  string(JSON argument_count LENGTH "${listing}" tests ${index} command)
  math(EXPR last_argument "${argument_count} - 1")
  foreach(argument_index RANGE ${last_argument})
    string(JSON argument GET "${listing}" tests ${index} command ${argument_index})
    list(APPEND arguments "${argument}")
  endforeach()
  add_test(asan.${name} ${arguments})

  set(environment ${asan_environment})
  set(folder "${asan_build}")
  string(JSON property_count ERROR_VARIABLE no_properties LENGTH "${listing}" tests ${index} properties)
  if(NOT no_properties AND property_count GREATER 0)
    math(EXPR last_property "${property_count} - 1")
    foreach(property_index RANGE ${last_property})
      string(JSON property GET "${listing}" tests ${index} properties ${property_index} name)
      if(property STREQUAL "ENVIRONMENT")
        string(JSON variable_count LENGTH "${listing}" tests ${index} properties ${property_index} value)
        math(EXPR last_variable "${variable_count} - 1")
        foreach(variable_index RANGE ${last_variable})
          string(JSON variable GET "${listing}" tests ${index} properties ${property_index} value ${variable_index})
          list(APPEND environment "${variable}")
        endforeach()
      elseif(property STREQUAL "WORKING_DIRECTORY")
        string(JSON folder GET "${listing}" tests ${index} properties ${property_index} value)
      endif()
    endforeach()
  endif()
  set_tests_properties(asan.${name} PROPERTIES
    ENVIRONMENT "${environment}" WORKING_DIRECTORY "${folder}" LABELS asan)
endforeach()
