# Installation into a prefix (/usr, /usr/local or ~/.local) laid out as the Filesystem Hierarchy
# Standard and the freedesktop.org (XDG) base directory rules expect, and the Debian package.
#
#   <prefix>/bin/                                glimix, glimix-cli, glimix-thumbnailer
#   <prefix>/lib/glimmerix/                      loadable modules (command module, clip module),
#                                                players copied into product packages
#   <prefix>/share/glimmerix/                    resource folder: Glimix.rcc, pictures, help
#   <prefix>/share/applications, metainfo, icons/hicolor, mime/packages, thumbnailers,
#   <prefix>/share/man/man1, bash-completion/completions, doc/glimmerix
#
# Programs find the resource folder and the modules relative to their own folder
# (../share/glimmerix, ../lib/glimmerix), so no path is fixed at build time.
#
# A new program installs with one line beside its add_executable():
#     glimmerix_install_program(glimix-service)
# a new loadable module with glimmerix_install_program(NAME MODULE), and a program that is not
# started from the PATH but found with bundledProgramPath() (the players copied into product
# packages) with glimmerix_install_program(NAME BUNDLED). The older install lines
# of glimix, glimix-cli, the modules and the resource folder stay where those are built.

set(GLIMMERIX_APP_ID org.glimmerix.Glimmerix)
set(desktop_dir ${CMAKE_SOURCE_DIR}/share/desktop)

# Everything an install copies, for tools/install.sh and the package to build without the tests.
add_custom_target(glimmerix_installed)
add_dependencies(glimmerix_installed glimix glimix-cli glimix-cli-commands glimix-clip
  glimmerix_bundle glimmerix_share glimmerix_install_files)

function(glimmerix_install_program target)
  if("MODULE" IN_LIST ARGN)
    install(TARGETS ${target} LIBRARY DESTINATION lib/glimmerix)
  elseif("BUNDLED" IN_LIST ARGN)
    install(TARGETS ${target} RUNTIME DESTINATION lib/glimmerix)
  else()
    install(TARGETS ${target} RUNTIME DESTINATION bin)
  endif()
  add_dependencies(glimmerix_installed ${target})
endfunction()

# Desktop integration.
install(FILES ${desktop_dir}/${GLIMMERIX_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${desktop_dir}/${GLIMMERIX_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${desktop_dir}/glimmerix-album.xml DESTINATION share/mime/packages)
install(FILES ${desktop_dir}/glimmerix.thumbnailer DESTINATION share/thumbnailers)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/share/icons/hicolor DESTINATION share/icons)

# Manual pages, compressed as Debian wants them (-n: no time stamp, so builds repeat exactly).
# Every share/man/NAME.1 is installed.
file(GLOB man_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/share/man/*.1)
set(compressed "")
foreach(page IN LISTS man_pages)
  get_filename_component(name ${page} NAME)
  set(out ${CMAKE_BINARY_DIR}/share/man/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man
    COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${page} ${out}
    DEPENDS ${page} VERBATIM)
  list(APPEND compressed ${out})
endforeach()
set(changelog ${CMAKE_BINARY_DIR}/share/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/share/doc/changelog ${changelog}
  DEPENDS ${CMAKE_SOURCE_DIR}/share/doc/changelog VERBATIM)

# Bash completion, made by the built tool from the command table that prints --help.
set(completion ${CMAKE_BINARY_DIR}/share/bash-completion/glimix-cli)
add_custom_command(OUTPUT ${completion}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen GLIMMERIX_RESOURCES=${GLIMMERIX_RESOURCE_DIR}
          sh -c "\"$0\" completion bash > \"$1\"" $<TARGET_FILE:glimix-cli> ${completion}
  DEPENDS glimix-cli glimix-cli-commands glimmerix_bundle VERBATIM)
add_custom_target(glimmerix_install_files ALL DEPENDS ${compressed} ${changelog} ${completion})

install(FILES ${compressed} DESTINATION share/man/man1)
install(FILES ${completion} DESTINATION share/bash-completion/completions)
install(FILES ${CMAKE_SOURCE_DIR}/share/doc/copyright ${changelog} DESTINATION share/doc/glimmerix)
install(FILES ${CMAKE_SOURCE_DIR}/share/lintian/glimmerix DESTINATION share/lintian/overrides)

# The Debian package: `cpack -G DEB` in the build folder (tools/makedeb.sh). dpkg-shlibdeps
# finds the libraries the programs link; the Qt plugins come with those libraries' packages.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glimmerix)
set(CPACK_PACKAGE_VENDOR "Glimmerix")
set(CPACK_PACKAGE_CONTACT "Glimmerix maintainers <maintainers@users.noreply.c-seed-c2442537.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "album manager for pictures, clips and sounds")
set(CPACK_PACKAGE_DESCRIPTION "Glimmerix keeps pictures, video clips and sounds in albums
shown as grids of thumbnails, with captions, keywords, descriptions and
attached sounds. It reads and writes JPEG, Windows bitmap, TIFF, PCX and
Targa pictures, makes web albums, and comes with a command-line tool for
scripts and a thumbnailer for file managers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6svg6, adwaita-icon-theme")
set(CPACK_STRIP_FILES ON)
include(CPack)
