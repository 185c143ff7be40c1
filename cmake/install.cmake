# What `cmake --install` puts where under the prefix. The game looks for its
# data at ../share/glimmerdeep from its own folder, so the executable's folder
# must sit directly under the prefix (bin, or games as Debian puts games), and
# a prefix moved as a whole keeps working.
set(GLIMMERDEEP_ICON_SIZES 16 24 32 48 64 128 256)  # as tools/icon_generator draws them
set(GLIMMERDEEP_BINDIR bin CACHE STRING "Folder under the prefix for the executable: bin or games")
set_property(CACHE GLIMMERDEEP_BINDIR PROPERTY STRINGS bin games)
if(NOT GLIMMERDEEP_BINDIR MATCHES "^(bin|games)$")
  message(FATAL_ERROR "GLIMMERDEEP_BINDIR is '${GLIMMERDEEP_BINDIR}'; the data is found only from bin or games")
endif()

# The version is the one --version prints.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/version.h version_line REGEX "gameVersion = \"[0-9.]+\"")
string(REGEX MATCH "[0-9.]+" GLIMMERDEEP_VERSION "${version_line}")
# One web address for the metainfo's links and screenshots and the package's
# Homepage; the screenshots are the repository's docs/screens under it.
set(GLIMMERDEEP_HOMEPAGE "https://example.org/glimmerdeep" CACHE STRING "The game's web address")
# The AppStream id, which also names the desktop entry; it never changes.
set(GLIMMERDEEP_APP_ID org.example.glimmerdeep)

# The changelog's newest entry must be this version's.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^glimmerdeep \\(${GLIMMERDEEP_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with '${changelog_top}', not version ${GLIMMERDEEP_VERSION}")
endif()

set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/metainfo.xml.in
               ${packaging_out}/${GLIMMERDEEP_APP_ID}.metainfo.xml @ONLY)
# Compressed as Debian wants them, without a time stamp so a rebuild is the same.
foreach(page glimmerdeep.6 changelog)
  add_custom_command(OUTPUT ${packaging_out}/${page}.gz
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${page} > ${packaging_out}/${page}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${page})
  list(APPEND compressed_pages ${packaging_out}/${page}.gz)
endforeach()
add_custom_target(compressed_pages ALL DEPENDS ${compressed_pages})

install(TARGETS glimmerdeep RUNTIME DESTINATION ${GLIMMERDEEP_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/ DESTINATION share/glimmerdeep)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${GLIMMERDEEP_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${packaging_out}/${GLIMMERDEEP_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${packaging_out}/glimmerdeep.6.gz DESTINATION share/man/man6)
install(FILES ${packaging_out}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION share/doc/glimmerdeep)
foreach(size IN LISTS GLIMMERDEEP_ICON_SIZES)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/glimmerdeep-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME glimmerdeep.png)
endforeach()
