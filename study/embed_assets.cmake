# Writes OUTPUT, a header holding the files STYLE and SCRIPT as raw string
# literals (kStudyStyle, kStudyScript), so that the page needs no file at run
# time. Refuses a file that holds the literal's closing delimiter, and one
# that could close its own element inside the page.
set(delimiter "ziwei_asset")
function(embed variable file closing)
  file(READ ${file} text)
  string(FIND "${text}" ")${delimiter}\"" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "${file} holds \")${delimiter}\"")
  endif()
  string(TOLOWER "${text}" lower)
  string(FIND "${lower}" "${closing}" found)
  if(NOT found EQUAL -1)
    message(FATAL_ERROR "${file} holds \"${closing}\", which would end its element in the page")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
embed(style ${STYLE} "</style")
embed(script ${SCRIPT} "</script")
file(WRITE ${OUTPUT}.new
  "// Generated from study/study.css and study/study.js by study/embed_assets.cmake.\n"
  "#pragma once\n#include <string_view>\nnamespace ziwei::study_assets {\n"
  "inline constexpr std::string_view kStudyStyle = R\"${delimiter}(${style})${delimiter}\";\n"
  "inline constexpr std::string_view kStudyScript = R\"${delimiter}(${script})${delimiter}\";\n"
  "}  // namespace ziwei::study_assets\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
