# tarvelo_install_gzipped(FILE DESTINATION): installs FILE as FILE.gz, compressed at the highest
# level and without a name or time in the header, as Debian wants manual pages and changelogs.
function(tarvelo_install_gzipped file destination)
    get_filename_component(name ${file} NAME)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
        COMMAND gzip -9nc ${file} > ${compressed}
        DEPENDS ${file} VERBATIM)
    add_custom_target(tarvelo_gzip_${name} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${destination})
endfunction()
