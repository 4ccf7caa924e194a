# Runs the dialog demo headless: cmake -DAPP=<exe> -DSCRIPT=<tour.script> -DWORK=<folder> -P RunTour.cmake
# WORK/root becomes the terminal's root and WORK/shots receives the pictures; both start empty.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/root ${WORK}/shots)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env VELA_ROOT=${WORK}/root VELA_SCRIPT=${SCRIPT} VELA_SHOTS=${WORK}/shots
          VELA_CLOCK=manual VELA_SCRIPT_ECHO=1 ${APP}
  RESULT_VARIABLE result
  TIMEOUT 90)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the tour ended with ${result}")
endif()
