# Installs a file gzip-compressed as NAME.gz into DESTINATION, as Debian keeps
# manual pages and change logs.
function(tonvika_install_gzipped source destination name)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  # -n: no name or time stamp inside, so the package builds the same each time.
  add_custom_command(OUTPUT ${compressed}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${compressed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(gzipped_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()
