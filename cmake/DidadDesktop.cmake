# Help pages beside the program, and what a Linux desktop needs to list it.
#
# The program opens Help/index.htm in its own folder, so the pages are copied
# next to the built program. The installed program lives in lib/didad, its
# pages in share/didad/Help with a link to them beside the program; bin/didad
# is a link to the program (which resolves the link to find its folder).

file(GLOB_RECURSE DIDAD_HELP_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/Help/*")
set(DIDAD_HELP_OUTPUTS)
foreach(help_file IN LISTS DIDAD_HELP_FILES)
  file(RELATIVE_PATH help_relative "${CMAKE_SOURCE_DIR}" "${help_file}")
  set(help_output "$<TARGET_FILE_DIR:didad>/${help_relative}")
  set(help_stamp "${CMAKE_BINARY_DIR}/help-stamps/${help_relative}.stamp")
  get_filename_component(help_dir "${help_relative}" DIRECTORY)
  add_custom_command(
    OUTPUT "${help_stamp}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "$<TARGET_FILE_DIR:didad>/${help_dir}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${help_file}" "${help_output}"
    COMMAND ${CMAKE_COMMAND} -E touch "${help_stamp}"
    DEPENDS "${help_file}"
    COMMENT "Copying ${help_relative}"
    VERBATIM)
  list(APPEND DIDAD_HELP_OUTPUTS "${help_stamp}")
endforeach()
add_custom_target(didad_help ALL DEPENDS ${DIDAD_HELP_OUTPUTS})
add_dependencies(didad didad_help)

set(DIDAD_INSTALL_PROGRAM_DIR "lib/didad")
install(TARGETS didad RUNTIME DESTINATION "${DIDAD_INSTALL_PROGRAM_DIR}")
# The pages are the same on every machine, so they live in share/; the link
# beside the program is where the program looks for them.
install(DIRECTORY "${CMAKE_SOURCE_DIR}/Help" DESTINATION share/didad)

# A relative symbolic link `link` -> `target`, both under the prefix.
function(didad_install_link link target)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${link}\")
    get_filename_component(folder \"\${link}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${folder}\")
    file(REMOVE_RECURSE \"\${link}\")
    file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link} -> ${target}\")
  ")
endfunction()
didad_install_link(bin/didad "../${DIDAD_INSTALL_PROGRAM_DIR}/didad")
didad_install_link("${DIDAD_INSTALL_PROGRAM_DIR}/Help" ../../share/didad/Help)
install(FILES "${CMAKE_SOURCE_DIR}/resources/didad.desktop" DESTINATION share/applications)
install(FILES "${CMAKE_SOURCE_DIR}/resources/didad.svg" DESTINATION share/icons/hicolor/scalable/apps)
install(FILES "${CMAKE_SOURCE_DIR}/resources/didad.png" DESTINATION share/icons/hicolor/256x256/apps)
foreach(side 16 24 32 48 64 128)
  install(FILES "${CMAKE_SOURCE_DIR}/resources/logo/didad-${side}.png" DESTINATION share/icons/hicolor/${side}x${side}/apps
          RENAME didad.png)
endforeach()

# The software centre's entry and the notes a Debian package carries. The
# release and changelog take the product's version from project().
set(DIDAD_METAINFO "${CMAKE_BINARY_DIR}/example.divero.didad.metainfo.xml")
configure_file("${CMAKE_SOURCE_DIR}/resources/example.divero.didad.metainfo.xml" "${DIDAD_METAINFO}" @ONLY)
install(FILES "${DIDAD_METAINFO}" DESTINATION share/metainfo)
configure_file("${CMAKE_SOURCE_DIR}/resources/debian/changelog.in" "${CMAKE_BINARY_DIR}/debian/changelog" @ONLY)
# Without a time stamp, so that the same sources give the same package.
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/debian/changelog.gz"
  COMMAND gzip -9nc "${CMAKE_BINARY_DIR}/debian/changelog" > "${CMAKE_BINARY_DIR}/debian/changelog.gz"
  DEPENDS "${CMAKE_BINARY_DIR}/debian/changelog"
  VERBATIM)
add_custom_target(didad_changelog ALL DEPENDS "${CMAKE_BINARY_DIR}/debian/changelog.gz")
install(FILES "${CMAKE_SOURCE_DIR}/resources/debian/copyright" "${CMAKE_BINARY_DIR}/debian/changelog.gz"
        DESTINATION share/doc/didad)

configure_file("${CMAKE_SOURCE_DIR}/resources/didad.1" "${CMAKE_BINARY_DIR}/man/didad.1" @ONLY)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/man/didad.1.gz"
  COMMAND gzip -9nc "${CMAKE_BINARY_DIR}/man/didad.1" > "${CMAKE_BINARY_DIR}/man/didad.1.gz"
  DEPENDS "${CMAKE_BINARY_DIR}/man/didad.1"
  VERBATIM)
add_custom_target(didad_manual ALL DEPENDS "${CMAKE_BINARY_DIR}/man/didad.1.gz")
install(FILES "${CMAKE_BINARY_DIR}/man/didad.1.gz" DESTINATION share/man/man1)
