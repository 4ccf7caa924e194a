# Plays a tour of a sample program headless in a fresh terminal root seeded with the sample:
#   cmake -DSEED=<vela-sample-root> -DSIM=<vela-sim or empty> -DPROGRAM=<terminal path>
#         -DARGS=<arguments, ;-separated> -DSCRIPT=<tour or empty> -DWORK=<folder>
#         -DCLOCK=<start> [-DEXIT=<expected exit code, default 0>] -P RunTour.cmake
# Without a script the program just runs (one that ends by itself).
# WORK/root is the terminal's root and WORK/shots receives the pictures; both start empty.
# The terminal's zone is UTC, so the clock in the pictures reads the time the tour starts at.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/shots)
execute_process(COMMAND ${SEED} ${WORK}/root RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
  message(FATAL_ERROR "seeding the terminal root failed: ${seeded}")
endif()
# The program's arguments as one shell-quoted text: a list cannot carry a ";" into a command.
set(arguments "")
foreach(argument IN LISTS ARGS)
  string(REPLACE "<semicolon>" ";" argument "${argument}")
  string(REPLACE "'" "'\\''" argument "${argument}")
  string(APPEND arguments " '${argument}'")
endforeach()
if(NOT DEFINED EXIT)
  set(EXIT 0)
endif()

if(SIM)
  set(options --root ${WORK}/root --headless --clock manual:${CLOCK})
  if(SCRIPT)
    list(APPEND options --script ${SCRIPT} --shots ${WORK}/shots)
  endif()
  set(run ${SIM} ${options} ${PROGRAM})
  set(environment TZ=UTC)
else()
  # The simulator's command is not built: set its environment by hand.
  string(REPLACE "\\" "/" host "${PROGRAM}")
  set(run ${WORK}/root${host})
  set(environment TZ=UTC VELA_ROOT=${WORK}/root VELA_CLOCK=manual:${CLOCK} VELA_FRONTEND=headless)
  if(SCRIPT)
    list(APPEND environment VELA_SCRIPT=${SCRIPT} VELA_SHOTS=${WORK}/shots)
  endif()
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${environment} VELA_SCRIPT_ECHO=1 sh -c "exec \"\$@\"${arguments}" run ${run}
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE result
  TIMEOUT 120)
if(NOT result STREQUAL "${EXIT}")
  message(FATAL_ERROR "${PROGRAM} ${arguments} (script: ${SCRIPT}) ended with ${result}, not ${EXIT}")
endif()
