# Runs texture_generator into SCRATCH_DIR and compares every texture it
# writes byte for byte with the one in EXPECTED_DIR.
file(REMOVE_RECURSE "${SCRATCH_DIR}")
file(MAKE_DIRECTORY "${SCRATCH_DIR}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "texture_generator failed: ${status}")
endif()
foreach(texture lightblue.dds glitteryellow.dds wellwall.dds lightpurple.dds green.dds cloud.dds)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                    "${SCRATCH_DIR}/${texture}" "${EXPECTED_DIR}/${texture}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${EXPECTED_DIR}/${texture} differs from the generator's output; "
                        "rerun texture_generator ${EXPECTED_DIR}")
  endif()
endforeach()
