# Every command and option that a program's --help prints has its entry in the manual page, and
# the page renders without a warning. An entry is a line of the page that starts with .B, .BI
# or .BR and names the command or option as a word of its own.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited ${status}")
endif()
# Kept from CMake's list syntax: no semicolons, and no brackets that could pair across lines.
string(REGEX REPLACE "[][;]" " " help "${help}")
string(REPLACE "\n" ";" help_lines "${help}")

# Commands: the first word of each line of the "Commands:" section. Options: each name before
# the explanation on a line that starts with a dash, wherever it stands.
set(names)
set(section "")
foreach(line IN LISTS help_lines)
  if(line MATCHES "^([A-Za-z ]+):$")
    set(section "${CMAKE_MATCH_1}")
  elseif(line STREQUAL "")
    set(section "")
  elseif(section STREQUAL "Commands" AND line MATCHES "^  ([a-z][a-z-]*)( |$)")
    list(APPEND names "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^ +(-[^ ].*)$")
    string(REGEX REPLACE "  .*" "" head "${CMAKE_MATCH_1}")
    string(REPLACE "," " " head "${head}")
    string(REGEX MATCHALL "(^| )-[^ ]+" options "${head}")
    foreach(option IN LISTS options)
      string(STRIP "${option}" option)
      list(APPEND names "${option}")
    endforeach()
  endif()
endforeach()
if(NOT names)
  message(FATAL_ERROR "${PROGRAM} --help lists no command or option")
endif()

# The page's entry lines as plain words: dashes unescaped, quotes and commas gone.
file(STRINGS ${PAGE} page_lines)
set(entries " ")
foreach(line IN LISTS page_lines)
  if(line MATCHES "^\\.B[IR]? (.*)$")
    string(REPLACE "\\-" "-" words "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "[\",]" " " words "${words}")
    string(APPEND entries "${words} | ")
  endif()
endforeach()
string(REGEX REPLACE "[ \t]+" " " entries "${entries}")
foreach(name IN LISTS names)
  string(FIND "${entries}" " ${name} " at)
  if(at EQUAL -1)
    message(SEND_ERROR "${PAGE}: no entry for \"${name}\" of ${PROGRAM} --help")
  endif()
endforeach()
list(LENGTH names count)
message(STATUS "${count} commands and options of ${PROGRAM} --help are in ${PAGE}")

if(GROFF)
  execute_process(COMMAND ${GROFF} -man -Tutf8 -ww -z ${PAGE} ERROR_VARIABLE warnings
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "${PAGE} does not render cleanly: ${warnings}")
  endif()
endif()
