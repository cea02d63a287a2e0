# ziwei_browser_test(NAME SCRIPT [ARG]...): a test that runs the node SCRIPT
# (which drives headless Chromium through tests/devtools/devtools.js) with
# the ARGs; skipped when the script finds no chromium, not registered when
# there is no node.
find_program(ZIWEI_NODE NAMES node nodejs)

function(ziwei_browser_test name script)
  if(NOT ZIWEI_NODE)
    message(STATUS "node not found: the browser test ${name} is not registered")
    return()
  endif()
  add_test(NAME ${name} COMMAND ${ZIWEI_NODE} ${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 200)
endfunction()
