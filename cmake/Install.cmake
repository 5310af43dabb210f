# Installation and the Debian package.
#
# The program keeps every file in its working directory, so it is installed out
# of the way (libexec) and started by a launcher in bin/ that gives each user a
# folder under the XDG data home with links to the shared resource.dll and Lang/.
include(GNUInstallDirs)

set(MC_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/matrix-controller)
set(MC_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/matrix-controller)
set(MC_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(MC_PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)

# The launcher finds the installation from its own location, so a tree installed
# with DESTDIR or moved elsewhere still works; absolute install dirs stay absolute.
function(mc_launcher_path out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        file(RELATIVE_PATH rel ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${dir})
        set(${out} "\$here/${rel}" PARENT_SCOPE)
    endif()
endfunction()
mc_launcher_path(MC_LAUNCH_PROGRAM ${MC_INSTALL_PROGRAM_DIR}/matrix-controller)
mc_launcher_path(MC_LAUNCH_DATA ${MC_INSTALL_DATA_DIR})
configure_file(${MC_PACKAGING_DIR}/matrix-controller.in
    ${MC_PACKAGING_BINARY_DIR}/matrix-controller @ONLY)

install(TARGETS matrix-controller RUNTIME DESTINATION ${MC_INSTALL_PROGRAM_DIR})
install(PROGRAMS ${MC_PACKAGING_BINARY_DIR}/matrix-controller DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MC_RUN_DIR}/resource.dll DESTINATION ${MC_INSTALL_DATA_DIR})
install(FILES ${MC_QM_FILES} DESTINATION ${MC_INSTALL_DATA_DIR}/Lang)

install(CODE "
    set(MC_DESKTOP_TEMPLATE \"${MC_PACKAGING_DIR}/matrix-controller.desktop.in\")
    set(MC_DESKTOP_OUTPUT \"${MC_PACKAGING_BINARY_DIR}/matrix-controller.desktop\")
    set(MC_DESKTOP_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/DesktopEntry.cmake\")")
install(FILES ${MC_PACKAGING_BINARY_DIR}/matrix-controller.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

install(FILES ${MC_PACKAGING_DIR}/matrix-controller.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${MC_PACKAGING_DIR}/icons/matrix-controller-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME matrix-controller.png)
endforeach()

# matrixctl works in the folder it is started from, so it goes into bin/ itself.
install(TARGETS matrixctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MC_CTL_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/ctl/matrixctl.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME matrixctl)

# matrix-gateway also works in its working directory: bin/, with its man page
# and a systemd unit that gives it one under /var/lib.
install(TARGETS matrix-gateway RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${MC_GATEWAY_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(CODE "
    set(MC_UNIT_TEMPLATE \"${MC_PACKAGING_DIR}/matrix-gateway.service.in\")
    set(MC_UNIT_OUTPUT \"${MC_PACKAGING_BINARY_DIR}/matrix-gateway.service\")
    set(MC_UNIT_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/GatewayUnit.cmake\")")
install(FILES ${MC_PACKAGING_BINARY_DIR}/matrix-gateway.service DESTINATION lib/systemd/system)

set(MC_INSTALLS_SIM 0)
if(TARGET matrix-sim)
    install(TARGETS matrix-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(MC_INSTALLS_SIM 1)
endif()

# The install test drives cmake and cpack against this build tree.
if(TARGET tst_install)
    target_compile_definitions(tst_install PRIVATE
        MC_CMAKE_COMMAND="${CMAKE_COMMAND}"
        MC_CPACK_COMMAND="${CMAKE_CPACK_COMMAND}"
        MC_BUILD_DIR="${CMAKE_BINARY_DIR}"
        MC_INSTALLS_SIM=${MC_INSTALLS_SIM})
    add_dependencies(tst_install matrix-controller matrixctl matrix-gateway)
endif()

# Debian package: cpack -G DEB in the build directory.
set(MC_PACKAGE_MAINTAINER "Matrix Controller developers <matrix-controller@localhost>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME matrix-controller)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Matrix Controller developers")
set(CPACK_PACKAGE_CONTACT ${MC_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for audio/video matrix switchers")
# Lines of a Debian description stay under 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Matrix Controller opens a serial or TCP link to an audio/video matrix\n"
    "switcher and routes its inputs to its outputs, saves and recalls sixteen\n"
    "scenes, names the channels, runs timed automatic switching, keeps an\n"
    "address book of networked matrices with their network card settings,\n"
    "and shows every command it sends. Its texts are in English, Simplified\n"
    "Chinese and Traditional Chinese. matrixctl sends the same commands from\n"
    "scripts and room-control systems. matrix-gateway owns the one link to a\n"
    "matrix and serves it to many clients: as a Videohub router for control\n"
    "systems, and as a shared port for the window and matrixctl.")
# Stage with DESTDIR so that the install prefix seen by the install rules is the
# package's own (/usr): the menu entry names the launcher by its full path.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Chinese texts need a CJK font; the Qt libraries come from dpkg-shlibdeps
# when it is there, otherwise from this list.
set(MC_DEB_FONT_DEPENDS "fonts-noto-cjk")
find_program(MC_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MC_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${MC_DEB_FONT_DEPENDS}")
else()
    if(MC_QT_MAJOR EQUAL 6)
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6network6 (>= 6.4), libqt6serialport6 (>= 6.4), ${MC_DEB_FONT_DEPENDS}")
    else()
        set(CPACK_DEBIAN_PACKAGE_DEPENDS
            "libqt5core5a (>= 5.15), libqt5gui5 (>= 5.15), libqt5widgets5 (>= 5.15), libqt5network5 (>= 5.15), libqt5serialport5 (>= 5.15), ${MC_DEB_FONT_DEPENDS}")
    endif()
endif()
include(CPack)
