include(${CMAKE_CURRENT_LIST_DIR}/Gzipped.cmake)

# Installs a section 1 manual page gzip-compressed.
function(tonvika_install_manual page)
  get_filename_component(name ${page} NAME)
  tonvika_install_gzipped(${CMAKE_CURRENT_SOURCE_DIR}/${page} ${CMAKE_INSTALL_MANDIR}/man1 ${name})
endfunction()
