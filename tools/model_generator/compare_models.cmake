# Runs model_generator into SCRATCH_DIR and compares every model it writes
# byte for byte with the one in EXPECTED_DIR.
file(REMOVE_RECURSE "${SCRATCH_DIR}")
file(MAKE_DIRECTORY "${SCRATCH_DIR}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "model_generator failed: ${status}")
endif()
foreach(model Wings.obj flag.obj cloud.obj)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                    "${SCRATCH_DIR}/${model}" "${EXPECTED_DIR}/${model}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${EXPECTED_DIR}/${model} differs from the generator's output; "
                        "rerun model_generator ${EXPECTED_DIR}")
  endif()
endforeach()
