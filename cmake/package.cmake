# A Debian package of what cmake/install.cmake installs, made by CPack's DEB
# generator (`make package` configures the build for it: /usr, games).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerdeep)
set(CPACK_PACKAGE_VERSION ${GLIMMERDEEP_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "steer a glowing fairy up a deep well")
set(CPACK_PACKAGE_DESCRIPTION "A small 3D game: a fairy flies from the bottom of a deep stone well up\n\
and out of it. Its power drains all the time, and fifteen golden rings in\n\
the well fill it up again; when it is spent the fairy falls, and landing\n\
back at the bottom ends the run. It needs OpenGL 4.3, which Mesa's software\n\
renderer provides on a machine without a graphics card.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # glimmerdeep_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Glimmerdeep developers <glimmerdeep@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLIMMERDEEP_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the libraries the executable links; Mesa's drivers,
# which give it OpenGL, are loaded at run time and show in none of them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
include(CPack)
