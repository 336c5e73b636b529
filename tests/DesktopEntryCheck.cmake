# The menu entry passes desktop-file-validate; skipped only where the tool is missing.
if(NOT VALIDATE)
  message("desktop-file-validate not installed")
  return()
endif()
execute_process(COMMAND ${VALIDATE} ${ENTRY} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
