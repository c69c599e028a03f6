# Lints every document with documents/.qmllint.ini and fails on any warning, except unqualified
# uses of the names below. RESOURCES maps each document's resource path to its source: the
# documents sit in feature folders but import each other as neighbours at their resource paths.
#   cmake -DQMLLINT=... -DDOCUMENTS=... -DRESOURCES=... -DREPORT=... -P qmllint.cmake
cmake_minimum_required(VERSION 3.25)
#
# The window publishes these to every page by design (pages reach the window's ids, its base
# text size and fonts by name), and the native modules registered at run time provide Globals
# and MySettings. XMLHttpRequest is the engine's own global, unknown to the linter.
set(allowed
  _mainWindow _mainStackView _mainTooltip _server _tools _smsManager _carCommands _deviceCommands _map
  _font _font_lato basePixelSize basePixelSizeFactor
  Globals MySettings XMLHttpRequest)

# The byte offset in `text` (UTF-8) of the character at `column` (1-based, as the linter counts
# them: one for each character of the interface's texts).
function(byte_offset text column out)
  string(HEX "${text}" hex)
  string(LENGTH "${hex}" end)
  set(chars 1)
  set(pos 0)
  while(chars LESS column AND pos LESS end)
    math(EXPR pos "${pos} + 2")
    string(SUBSTRING "${hex}" ${pos} 1 lead)
    # Continuation bytes (10xxxxxx) belong to the character before them.
    if(NOT lead MATCHES "^[89ab]$")
      math(EXPR chars "${chars} + 1")
    endif()
  endwhile()
  math(EXPR offset "${pos} / 2")
  set(${out} ${offset} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE documents RELATIVE ${DOCUMENTS} ${DOCUMENTS}/*.qml)
list(SORT documents)
# A document outside the module has no resource path to resolve its imports by.
file(READ ${RESOURCES} resources)
foreach(document IN LISTS documents)
  string(FIND "${resources}" ">${DOCUMENTS}/${document}<" listed)
  if(listed EQUAL -1)
    message(FATAL_ERROR "${document} is not listed in documents/CMakeLists.txt")
  endif()
endforeach()
execute_process(COMMAND ${QMLLINT} -I ${IMPORTS} --resource ${RESOURCES} --json ${REPORT} ${documents}
  WORKING_DIRECTORY ${DOCUMENTS} OUTPUT_QUIET ERROR_QUIET)
file(READ ${REPORT} report)

set(failures 0)
string(JSON file_count LENGTH "${report}" files)
math(EXPR last_file "${file_count} - 1")
foreach(f RANGE ${last_file})
  string(JSON path GET "${report}" files ${f} filename)
  string(JSON warning_count LENGTH "${report}" files ${f} warnings)
  if(warning_count EQUAL 0)
    continue()
  endif()
  # One list entry a line; brackets and semicolons would upset CMake's list splitting.
  file(READ ${path} content)
  string(REPLACE "[" "(" content "${content}")
  string(REPLACE "]" ")" content "${content}")
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  math(EXPR last_warning "${warning_count} - 1")
  foreach(w RANGE ${last_warning})
    string(JSON type GET "${report}" files ${f} warnings ${w} type)
    if(type STREQUAL "info")
      continue()
    endif()
    string(JSON id ERROR_VARIABLE no_id GET "${report}" files ${f} warnings ${w} id)
    string(JSON message GET "${report}" files ${f} warnings ${w} message)
    string(JSON line ERROR_VARIABLE no_line GET "${report}" files ${f} warnings ${w} line)
    string(JSON column ERROR_VARIABLE no_column GET "${report}" files ${f} warnings ${w} column)
    set(name "")
    if(id STREQUAL "unqualified" AND NOT no_line AND NOT no_column)
      # The name that starts at the reported column; one not found fails the check.
      math(EXPR index "${line} - 1")
      list(GET lines ${index} text)
      byte_offset("${text}" ${column} offset)
      string(SUBSTRING "${text}" ${offset} -1 rest)
      string(REGEX MATCH "^[A-Za-z_][A-Za-z_0-9]*" name "${rest}")
      if(name IN_LIST allowed)
        continue()
      endif()
    endif()
    math(EXPR failures "${failures} + 1")
    message("${path}:${line}:${column}: ${message} ${name} [${id}]")
  endforeach()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} qmllint warnings outside the allow-list")
endif()
list(LENGTH documents count)
message("qmllint: ${count} documents, 0 warnings outside the allow-list")
