# What `cmake --install` puts where under the prefix. The game looks for its
# data at ../share/glimmerdeep from its own folder, so these destinations
# are fixed: a prefix moved as a whole keeps working.
set(GLIMMERDEEP_ICON_SIZES 16 24 32 48 64 128 256)  # as tools/icon_generator draws them

install(TARGETS glimmerdeep RUNTIME DESTINATION bin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/ DESTINATION share/glimmerdeep)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glimmerdeep.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glimmerdeep.6 DESTINATION share/man/man6)
foreach(size IN LISTS GLIMMERDEEP_ICON_SIZES)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/glimmerdeep-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME glimmerdeep.png)
endforeach()
