# Prints an operation log with vela-logview and checks its records, in order:
#   cmake -DLOGVIEW=<vela-logview> -DLOG=<host path> -DROWS=<file> -P CheckLog.cmake
# The file holds one regular expression a line ('#' lines are comments); each must match its
# row of the table (Date Time Kind Process ID Device Address User Command Info Program
# Message, two or more blanks apart), and there must be no other rows.
execute_process(COMMAND ${LOGVIEW} ${LOG} OUTPUT_VARIABLE table RESULT_VARIABLE printed)
message("${table}")
if(NOT printed EQUAL 0)
  message(FATAL_ERROR "vela-logview ${LOG} failed: ${printed}")
endif()
string(REGEX REPLACE "\n$" "" table "${table}")
string(REPLACE ";" "<semicolon>" table "${table}")
string(REPLACE "\n" ";" rows "${table}")
list(REMOVE_AT rows 0 1)  # the titles and the rule under them
list(LENGTH rows count)
file(STRINGS ${ROWS} patterns ENCODING UTF-8 REGEX "^[^#]")
list(LENGTH patterns wanted)
if(NOT count EQUAL wanted)
  message(FATAL_ERROR "${count} records in ${LOG}, wanted ${wanted}")
endif()
set(index 0)
foreach(pattern IN LISTS patterns)
  list(GET rows ${index} row)
  if(NOT row MATCHES "${pattern}")
    math(EXPR number "${index} + 1")
    message(FATAL_ERROR "record ${number} does not match '${pattern}':\n${row}")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
