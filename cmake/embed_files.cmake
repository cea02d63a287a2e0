# Files built into a program as raw string literals, so that it reads none of
# them at run time.
#
# Included, it defines
#   ziwei_embed_files(HEADER NAMESPACE CONSTANT FILE [CONSTANT FILE]...)
# which adds the rule that writes HEADER, a header declaring each CONSTANT
# (a std::string_view in NAMESPACE) with the bytes of its FILE; list HEADER
# among a target's sources. Run as a script (cmake -P) it writes the header:
# -DOUTPUT=HEADER -DNAMESPACE=NS -DENTRIES=CONSTANT=FILE,CONSTANT=FILE...
#
# A file that holds the literal's closing delimiter is refused, and so is a
# style sheet (.css) or a script (.js) that could close its own element
# ("</style", "</script") if a page holds it inline.

set(ZIWEI_EMBED_FILES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(ziwei_embed_files header namespace)
  set(entries "")
  set(files "")
  set(names "")
  set(pairs ${ARGN})
  list(LENGTH pairs count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "ziwei_embed_files: CONSTANT FILE pairs expected, got: ${ARGN}")
  endif()
  while(pairs)
    list(POP_FRONT pairs constant file)
    get_filename_component(file ${file} ABSOLUTE)
    if(file MATCHES "[,=]")
      message(FATAL_ERROR "ziwei_embed_files: a file name with ',' or '=': ${file}")
    endif()
    list(APPEND entries "${constant}=${file}")
    list(APPEND files ${file})
    file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${file})
    list(APPEND names ${shown})
  endwhile()
  list(JOIN entries "," joined)
  list(JOIN names ", " shown)
  add_custom_command(
    OUTPUT ${header}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${header} -DNAMESPACE=${namespace} -DENTRIES=${joined}
            -P ${ZIWEI_EMBED_FILES_SCRIPT}
    DEPENDS ${files} ${ZIWEI_EMBED_FILES_SCRIPT}
    COMMENT "Embedding ${shown}"
    VERBATIM)
endfunction()

if(NOT CMAKE_SCRIPT_MODE_FILE)
  return()
endif()

set(delimiter "ziwei_asset")
set(body "")
set(sources "")
string(REPLACE "," ";" entries "${ENTRIES}")
foreach(entry IN LISTS entries)
  string(FIND "${entry}" "=" at)
  string(SUBSTRING "${entry}" 0 ${at} constant)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${entry}" ${from} -1 file)
  file(READ ${file} text)
  string(FIND "${text}" ")${delimiter}\"" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "${file} holds \")${delimiter}\"")
  endif()
  get_filename_component(extension ${file} LAST_EXT)
  set(closing "")
  if(extension STREQUAL ".css")
    set(closing "</style")
  elseif(extension STREQUAL ".js")
    set(closing "</script")
  endif()
  if(closing)
    string(TOLOWER "${text}" lower)
    string(FIND "${lower}" "${closing}" found)
    if(NOT found EQUAL -1)
      message(FATAL_ERROR "${file} holds \"${closing}\", which would end its element in a page")
    endif()
  endif()
  get_filename_component(name ${file} NAME)
  list(APPEND sources ${name})
  string(APPEND body
    "inline constexpr std::string_view ${constant} = R\"${delimiter}(${text})${delimiter}\";\n")
endforeach()
list(JOIN sources ", " sources)
file(WRITE ${OUTPUT}.new
  "// Generated from ${sources} by cmake/embed_files.cmake.\n"
  "#pragma once\n#include <string_view>\nnamespace ${NAMESPACE} {\n"
  "${body}"
  "}  // namespace ${NAMESPACE}\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
