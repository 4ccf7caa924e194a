# Tours of the sample programs: scripts played headless on the manual clock in a fresh terminal
# root, each a ctest test. Included once by the launcher; the other samples call it too.
#
# vela_sample_tour(NAME <test> PROGRAM <terminal path> [SCRIPT <file>] [ARGS ...] [EXIT <code>]
#                  [CLOCK <YYYY-MM-DDTHH:MM:SS>] [FIXTURE <name>])
# Without a SCRIPT the program runs by itself and has to end on its own.
# The pictures land in <binary folder>/tours/<test>/shots, the root in .../root. A FIXTURE
# lets later tests look at them.
# Cached, so that the functions find them when other folders call them.
set(VELA_SAMPLE_TOUR_RUNNER ${CMAKE_CURRENT_LIST_DIR}/RunTour.cmake CACHE INTERNAL "")
set(VELA_SAMPLE_LOG_CHECK ${CMAKE_CURRENT_LIST_DIR}/CheckLog.cmake CACHE INTERNAL "")

function(vela_sample_tour)
  cmake_parse_arguments(PARSE_ARGV 0 T "" "NAME;PROGRAM;SCRIPT;EXIT;CLOCK;FIXTURE" "ARGS")
  if(NOT T_EXIT)
    set(T_EXIT 0)
  endif()
  if(NOT T_CLOCK)
    set(T_CLOCK 2026-04-01T09:05:00)
  endif()
  set(sim "")
  if(TARGET vela-sim)
    set(sim $<TARGET_FILE:vela-sim>)
  endif()
  # An argument may hold ";" (the menu's "/job:scan;quick"): it travels as <semicolon>.
  set(args "")
  foreach(arg IN LISTS T_ARGS)
    string(REPLACE ";" "<semicolon>" arg "${arg}")
    list(APPEND args "${arg}")
  endforeach()
  string(REPLACE ";" "\\;" args "${args}")
  set(script "")
  if(T_SCRIPT)
    get_filename_component(script ${T_SCRIPT} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  add_test(NAME ${T_NAME}
           COMMAND ${CMAKE_COMMAND} -DSEED=${CMAKE_BINARY_DIR}/bin/vela-sample-root -DSIM=${sim}
                   -DPROGRAM=${T_PROGRAM} -DARGS=${args} -DSCRIPT=${script}
                   -DWORK=${CMAKE_BINARY_DIR}/tours/${T_NAME} -DCLOCK=${T_CLOCK} -DEXIT=${T_EXIT}
                   -P ${VELA_SAMPLE_TOUR_RUNNER})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 150 LABELS tours)
  if(T_FIXTURE)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_SETUP ${T_FIXTURE})
  endif()
endfunction()

# vela_sample_log_check(NAME <test> TOUR <tour test> LOG <file in \Temp> ROWS <file of patterns>)
# Prints the operation log a tour left with vela-logview and checks its records.
function(vela_sample_log_check)
  cmake_parse_arguments(L "" "NAME;TOUR;LOG;ROWS" "" ${ARGN})
  add_test(NAME ${L_NAME}
           COMMAND ${CMAKE_COMMAND} -DLOGVIEW=$<TARGET_FILE:vela-logview>
                   -DLOG=${CMAKE_BINARY_DIR}/tours/${L_TOUR}/root/Temp/${L_LOG} -DROWS=${L_ROWS}
                   -P ${VELA_SAMPLE_LOG_CHECK})
  set_tests_properties(${L_NAME} PROPERTIES FIXTURES_REQUIRED ${L_TOUR} LABELS tours TIMEOUT 60)
endfunction()

vela_tests(NAME launcher_tests DEPS LauncherParts)
