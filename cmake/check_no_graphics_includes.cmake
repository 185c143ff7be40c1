# cmake -DSOURCES="a;b;..." -DSTAMP=file -P check_no_graphics_includes.cmake
# Fails when one of the sources includes a GL, GLEW or GLFW header; touches
# the stamp otherwise.
foreach(source ${SOURCES})
  file(STRINGS ${source} graphics_includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](GL|GLFW)/")
  if(graphics_includes)
    message(FATAL_ERROR "${source} includes a graphics header (${graphics_includes}); "
                        "the game's rules must not depend on GL or GLFW.")
  endif()
endforeach()
file(TOUCH ${STAMP})
