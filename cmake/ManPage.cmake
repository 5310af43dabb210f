# mc_man_page(TARGET NAME.1.in OUT): configures the man page with the version,
# compresses it as packages want it when gzip is there, and sets OUT (in the
# caller's parent scope) to the file to install.
find_program(MC_GZIP gzip)
function(mc_man_page target template out)
    get_filename_component(name ${template} NAME_WLE)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${name})
    configure_file(${template} ${page} @ONLY)
    if(MC_GZIP)
        add_custom_command(OUTPUT ${page}.gz
            COMMAND ${MC_GZIP} -9 -n -k -f ${name}
            DEPENDS ${page}
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        add_custom_target(${target}_man ALL DEPENDS ${page}.gz)
        add_dependencies(${target} ${target}_man)
        set(page ${page}.gz)
    endif()
    set(${out} ${page} PARENT_SCOPE)
endfunction()
