# Runs at install time: writes the systemd unit with the program's full path,
# which is only known once the install prefix is (cmake --install --prefix, cpack).
# In: MC_UNIT_TEMPLATE, MC_UNIT_OUTPUT, MC_UNIT_BINDIR (absolute, or relative to the prefix).
if(IS_ABSOLUTE "${MC_UNIT_BINDIR}")
    set(MC_GATEWAY_EXEC "${MC_UNIT_BINDIR}/matrix-gateway")
else()
    set(MC_GATEWAY_EXEC "${CMAKE_INSTALL_PREFIX}/${MC_UNIT_BINDIR}/matrix-gateway")
endif()
# systemd splits ExecStart at blanks: a path with one is written with \x20.
string(REPLACE " " "\\x20" MC_GATEWAY_EXEC "${MC_GATEWAY_EXEC}")
configure_file("${MC_UNIT_TEMPLATE}" "${MC_UNIT_OUTPUT}" @ONLY)
