# Runs GENERATOR with SCRATCH_DIR as its output folder and compares each of
# FILES byte for byte with the committed copy in EXPECTED_DIR.
file(REMOVE_RECURSE "${SCRATCH_DIR}")
file(MAKE_DIRECTORY "${SCRATCH_DIR}")
get_filename_component(name "${GENERATOR}" NAME)
execute_process(COMMAND "${GENERATOR}" "${SCRATCH_DIR}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${name} failed: ${status}")
endif()
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH_DIR}/${file}" "${EXPECTED_DIR}/${file}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${EXPECTED_DIR}/${file} differs from what ${name} writes today; "
                        "rerun ${name} ${EXPECTED_DIR}")
  endif()
endforeach()
