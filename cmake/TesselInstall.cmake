# Installing Tessel as a desktop application (GNUInstallDirs layout) and packing it as a
# Debian package with CPack: the two programs, the desktop entry, the AppStream metadata, the
# icon in the hicolor theme (the SVG and PNGs rendered from it at build time) and the help
# documents.
include(GNUInstallDirs)
# Documents go where the package's name says, not under the project's capitalised name.
set(tessel_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessel)

set(tessel_linux ${CMAKE_SOURCE_DIR}/resources/linux)
set(tessel_icon_sizes 16 22 24 32 48 64 128 256)

add_executable(render_icon ${CMAKE_SOURCE_DIR}/tools/render-icon/render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)

set(tessel_icon_dir ${CMAKE_BINARY_DIR}/icons)
set(tessel_icon_pngs)
foreach(size IN LISTS tessel_icon_sizes)
    list(APPEND tessel_icon_pngs ${tessel_icon_dir}/${size}x${size}.png)
endforeach()
add_custom_command(
    OUTPUT ${tessel_icon_pngs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tessel_icon_dir}
    COMMAND render_icon ${tessel_linux}/${TESSEL_APP_ID}.svg ${tessel_icon_dir} ${tessel_icon_sizes}
    DEPENDS render_icon ${tessel_linux}/${TESSEL_APP_ID}.svg
    COMMENT "Rendering the application icon")
add_custom_target(tessel_icons ALL DEPENDS ${tessel_icon_pngs})

install(TARGETS tessel tessel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${tessel_linux}/${TESSEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${tessel_linux}/${TESSEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${tessel_linux}/${TESSEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS tessel_icon_sizes)
    install(FILES ${tessel_icon_dir}/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TESSEL_APP_ID}.png)
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help ${CMAKE_SOURCE_DIR}/resources/about
        DESTINATION ${tessel_doc_dir})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${tessel_doc_dir})

set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_VENDOR Tessel)
set(CPACK_PACKAGE_CONTACT "${TESSEL_SUPPORT_ADDRESS}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Batch maintenance of a music library")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window-system plugins are loaded at run time: no library link names them, so they are
# listed by hand.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# CPack puts the summary on the first line; these are the lines below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tessel proposes changes to the tags, playlists and file names of a music\nlibrary or a folder of music files, and writes only the changes you check.\nIt comes with a desktop app (tessel) and a command-line tool (tessel-cli).")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
