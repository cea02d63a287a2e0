# ziwei_service_units(TEMPLATE FOLDER BINARY): the two units of TEMPLATE
# (ziwei.service.in) written into FOLDER, both starting BINARY:
# ziwei.service on port 8080 with a worker thread per core, and the template
# ziwei@.service on the port its instance names, with one worker thread.
# Included by CMakeLists.txt and by the install script, which writes the
# units for the prefix of the install.
function(ziwei_service_units template folder binary)
  set(ZIWEI_SERVICE_BINARY ${binary})
  set(ZIWEI_SERVICE_PORT 8080)
  set(ZIWEI_SERVICE_OPTIONS "")
  configure_file(${template} ${folder}/ziwei.service @ONLY)
  set(ZIWEI_SERVICE_PORT %i)
  set(ZIWEI_SERVICE_OPTIONS " --threads 1")
  configure_file(${template} ${folder}/ziwei@.service @ONLY)
endfunction()
