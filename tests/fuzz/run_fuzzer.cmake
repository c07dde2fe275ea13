# Runs one fuzz target for a bounded time, starting from its committed seeds:
#   cmake -DFUZZER=<program> -DSEEDS=<dir> -DWORK=<dir> -DSECONDS=<n> [-DRUNS=<n>] [-DFRESH=ON]
#         -P run_fuzzer.cmake
# libFuzzer writes what it finds into the first corpus directory it is given; that is WORK, in the
# build tree, so the committed seeds stay as they are. An input that breaks a property or crashes
# is kept in WORK-artifacts/ and fails the run. FRESH empties both first.
foreach(required FUZZER SEEDS WORK SECONDS)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run_fuzzer.cmake: -D${required}=... is missing")
  endif()
endforeach()
if(NOT IS_DIRECTORY "${SEEDS}")
  message(FATAL_ERROR "run_fuzzer.cmake: no seed directory ${SEEDS}")
endif()

set(artifacts "${WORK}-artifacts")
if(FRESH)
  file(REMOVE_RECURSE "${WORK}" "${artifacts}")
endif()
file(MAKE_DIRECTORY "${WORK}" "${artifacts}")

set(options -max_total_time=${SECONDS} -print_final_stats=1 -artifact_prefix=${artifacts}/)
if(DEFINED RUNS)
  list(APPEND options -runs=${RUNS})
endif()
execute_process(COMMAND "${FUZZER}" ${options} "${WORK}" "${SEEDS}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  get_filename_component(name "${FUZZER}" NAME)
  message(FATAL_ERROR "${name} failed (${result}); the input is in ${artifacts}/")
endif()
