# Release packages, made by CPack from a build tree (scripts/package runs it):
#
#   Windows (cross-built): velmora-<version>-windows-x64.zip, one folder with
#     velmora.exe, its data files, README.txt and licenses/ (everything the
#     program carries inside it).
#   Linux: velmora_<version>_<arch>.deb, the program and its data in
#     /usr/lib/velmora with a link in /usr/bin, a desktop entry, an icon and
#     a manual page;
#     its dependencies are computed from the libraries the program links.
#
# The version is the project's own, from project() in the top CMakeLists.txt.

set(VELMORA_RELEASE_DIR ${PROJECT_SOURCE_DIR}/scripts/release)
set(VELMORA_RELEASE_BUILD_DIR ${PROJECT_BINARY_DIR}/release)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running audiovisual show with a beating heart")
set(CPACK_PACKAGE_DESCRIPTION
    "A full-screen OpenGL show in the demoscene manner: a heart drawn by a
fragment shader beats behind text that scrolls past and pulses, to looping
music. It runs by itself; Escape or closing the window ends it.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

# Licences of what ends up inside the program: the show's own, the typeface
# its font record was rasterised from, and the libraries compiled in.
set(VELMORA_OWN_LICENSES
    ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/tools/fontgen/font/OFL.txt)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-windows-x64)
    configure_file(${VELMORA_RELEASE_DIR}/README-windows.txt
        ${VELMORA_RELEASE_BUILD_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${VELMORA_RELEASE_BUILD_DIR}/README.txt DESTINATION .)
    # One folder per component.
    install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses/velmora)
    install(FILES ${PROJECT_SOURCE_DIR}/tools/fontgen/font/OFL.txt DESTINATION licenses/Dosis)
    # The C runtime and winpthreads that static linking puts in the program.
    install(FILES /usr/share/doc/mingw-w64-x86-64-dev/copyright DESTINATION licenses/mingw-w64)
    # SDL2, GLEW, GLM and stb, gathered by the library prefix build
    # (scripts/lib/windows-prefix.sh).
    if(VELMORA_WINDOWS_PREFIX)
        install(DIRECTORY ${VELMORA_WINDOWS_PREFIX}/share/licenses/ DESTINATION licenses)
    endif()
else()
    set(CPACK_GENERATOR DEB)
    find_program(DPKG_PROGRAM dpkg)
    if(DPKG_PROGRAM)
        execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
            OUTPUT_VARIABLE VELMORA_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
    else()
        set(VELMORA_DEB_ARCH amd64)
    endif()
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${VELMORA_DEB_ARCH})
    set(CPACK_DEBIAN_FILE_NAME velmora_${PROJECT_VERSION}_${VELMORA_DEB_ARCH}.deb)
    set(CPACK_DEBIAN_PACKAGE_SECTION video)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The GL driver is loaded at run time, not linked.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1-mesa-dri)
    # velmora-record runs the ffmpeg program; the show itself does not need it.
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS ffmpeg)

    install(FILES ${PROJECT_SOURCE_DIR}/data/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/velmora.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/256x256/apps)

    # Debian's documentation folder: the copyright file (all licences in one)
    # and a changelog, compressed as Debian expects.
    set(VELMORA_DEB_DOC ${VELMORA_RELEASE_BUILD_DIR}/doc)
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE VELMORA_LICENSE_TEXT)
    file(READ ${PROJECT_SOURCE_DIR}/tools/fontgen/font/OFL.txt VELMORA_FONT_LICENSE_TEXT)
    foreach(library stb glm)
        set(copyright /usr/share/doc/lib${library}-dev/copyright)
        string(TOUPPER ${library} name)
        if(EXISTS ${copyright})
            file(READ ${copyright} VELMORA_${name}_LICENSE_TEXT)
        else()
            set(VELMORA_${name}_LICENSE_TEXT "(not found on the building machine: ${copyright})\n")
        endif()
    endforeach()
    configure_file(${VELMORA_RELEASE_DIR}/debian-copyright.in ${VELMORA_DEB_DOC}/copyright @ONLY)
    string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
    configure_file(${VELMORA_RELEASE_DIR}/debian-changelog.in ${VELMORA_DEB_DOC}/changelog @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/data/velmora.6 ${VELMORA_DEB_DOC}/velmora.6 COPYONLY)
    configure_file(${PROJECT_SOURCE_DIR}/data/velmora-record.1 ${VELMORA_DEB_DOC}/velmora-record.1
        COPYONLY)
    find_program(GZIP_PROGRAM gzip)
    if(GZIP_PROGRAM)
        execute_process(COMMAND ${GZIP_PROGRAM} -9 -n -f -k
            ${VELMORA_DEB_DOC}/changelog ${VELMORA_DEB_DOC}/velmora.6
            ${VELMORA_DEB_DOC}/velmora-record.1)
        install(FILES ${VELMORA_DEB_DOC}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)
        install(FILES ${VELMORA_DEB_DOC}/velmora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
        install(FILES ${VELMORA_DEB_DOC}/velmora-record.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    install(FILES ${VELMORA_DEB_DOC}/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)
endif()

include(CPack)
