# Installs a section 1 manual page gzip-compressed, as Debian keeps them.
function(tonvika_install_manual page)
  get_filename_component(name ${page} NAME)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${page})
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  # -n: no name or time stamp inside, so the package builds the same each time.
  add_custom_command(OUTPUT ${compressed}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${compressed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(manual_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
