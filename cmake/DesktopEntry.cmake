# Runs at install time: writes the menu entry with the launcher's full path,
# which is only known once the install prefix is (cmake --install --prefix, cpack).
# In: MC_DESKTOP_TEMPLATE, MC_DESKTOP_OUTPUT, MC_DESKTOP_BINDIR (absolute, or
# relative to the install prefix).
if(IS_ABSOLUTE "${MC_DESKTOP_BINDIR}")
    set(launcher "${MC_DESKTOP_BINDIR}/matrix-controller")
else()
    set(launcher "${CMAKE_INSTALL_PREFIX}/${MC_DESKTOP_BINDIR}/matrix-controller")
endif()

# Quote the path as a desktop entry's Exec argument when it holds anything
# beyond plain path characters; the value itself then doubles its backslashes.
if(launcher MATCHES "^[A-Za-z0-9/._+-]+$")
    set(MC_DESKTOP_EXEC "${launcher}")
else()
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${launcher}")
    string(REPLACE "\\" "\\\\" quoted "${quoted}")
    string(REPLACE "%" "%%" quoted "${quoted}")
    set(MC_DESKTOP_EXEC "\"${quoted}\"")
endif()

configure_file("${MC_DESKTOP_TEMPLATE}" "${MC_DESKTOP_OUTPUT}" @ONLY)
