# Fails, naming the files, when a C++ source or header of the repository differs from what
# clang-format 19 writes under the repository's .clang-format. The files are found here, when the
# test runs, so new ones are checked without configuring again.
#   cmake -DREPOSITORY=DIR -P check_format.cmake
find_program(clang_format clang-format-19)
if(NOT clang_format)
  message(FATAL_ERROR "clang-format-19 is not installed")
endif()

set(files)
foreach(folder app backend devserver tests bench)
  file(GLOB_RECURSE found "${REPOSITORY}/${folder}/*.cpp" "${REPOSITORY}/${folder}/*.h")
  list(APPEND files ${found})
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no C++ files under ${REPOSITORY}")
endif()

execute_process(
  COMMAND ${clang_format} --dry-run --Werror --style=file:${REPOSITORY}/.clang-format ${files}
  RESULT_VARIABLE status ERROR_VARIABLE diagnostics)
if(status EQUAL 0)
  message(STATUS "${count} files formatted as clang-format-19 writes them")
  return()
endif()

string(REGEX MATCHALL "[^\n]+:[0-9]+:[0-9]+: error: code should be clang-formatted" violations
  "${diagnostics}")
if(NOT violations)
  message(FATAL_ERROR "clang-format-19 failed:\n${diagnostics}")
endif()
set(unformatted)
foreach(violation IN LISTS violations)
  string(REGEX REPLACE ":[0-9]+:[0-9]+: error: .*" "" file "${violation}")
  file(RELATIVE_PATH file "${REPOSITORY}" "${file}")
  list(APPEND unformatted "${file}")
endforeach()
list(REMOVE_DUPLICATES unformatted)
list(LENGTH unformatted unformatted_count)
list(JOIN unformatted "\n  " listed)
message(FATAL_ERROR "${unformatted_count} of ${count} files are not as clang-format-19 writes "
  "them (clang-format-19 -i FILE...):\n  ${listed}")
