# Checks the systemd units in UNITS with SYSTEMD_ANALYZE: each (the template
# as such and as an instance) loads without a word of complaint, its program
# exists, and its sandbox leaves little exposed. systemd-analyze reports an
# unknown key or a bad value but still exits 0, so any output fails. With
# TIMEOUT (coreutils' timeout), each unit's command also runs, on a free
# port: the program takes its options, serves, and stops cleanly on SIGTERM.
# The most exposure allowed, in tenths as the threshold counts (1.0).
set(exposure 10)
foreach(unit IN ITEMS ziwei.service ziwei@.service ziwei@8081.service)
  execute_process(COMMAND ${SYSTEMD_ANALYZE} verify --man=no ${UNITS}/${unit}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "systemd-analyze verify ${unit} (status ${status}):\n${out}")
  endif()
  execute_process(COMMAND ${SYSTEMD_ANALYZE} security --offline=yes --threshold=${exposure}
                          --no-pager ${UNITS}/${unit}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCH "Overall exposure level for [^:]*: [0-9.]+" level "${out}")
  if(NOT status EQUAL 0 OR level STREQUAL "")
    string(REGEX MATCHALL "\n[^\n]*✗[^\n]*" exposed "${out}")
    message(FATAL_ERROR "systemd-analyze security ${unit}: more exposed than ${exposure} tenths "
                        "(status ${status}; ${level}):${exposed}")
  endif()
  message(STATUS "${unit}: verified; ${level}")
endforeach()

if(NOT TIMEOUT)
  return()
endif()
foreach(unit IN ITEMS ziwei.service ziwei@.service)
  file(STRINGS ${UNITS}/${unit} exec REGEX "^ExecStart=")
  string(REGEX REPLACE "^ExecStart=" "" exec "${exec}")
  string(REGEX REPLACE "127\\.0\\.0\\.1:(8080|%i)" "127.0.0.1:0" exec "${exec}")
  separate_arguments(command UNIX_COMMAND "${exec}")
  execute_process(COMMAND ${TIMEOUT} --preserve-status --signal=TERM 2 ${command}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0 OR NOT out MATCHES "serving on http://127\\.0\\.0\\.1:[0-9]+/")
    message(FATAL_ERROR "${unit}: ${exec} (status ${status}):\n${out}")
  endif()
  message(STATUS "${unit}: ${exec} serves and stops on SIGTERM")
endforeach()
