# `make package`: a Debian package of the installed files, its dependencies
# computed from the binaries by dpkg-shlibdeps (dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tonvika)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tonvika project")
set(CPACK_PACKAGE_CONTACT "The Tonvika project <maintainers@tonvika.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio tracks and frame headers of DVD video files")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tonvika_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tonvika project <maintainers@tonvika.example.org>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tonvika.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, when a disc is opened; added to what dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${TONVIKA_DVDREAD_PACKAGE})
# Qt's own texts (file dialog, buttons) in Japanese for the Japanese window.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# The long description, below the summary line of the control file.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tonvika tells which audio tracks a DVD video object file (.vob) carries
and what each track's bitstream header says: it reads the first megabytes,
finds the AC-3, DTS and LPCM tracks, names their languages from the title
set's .IFO and breaks each AC-3 and DTS frame header down field by field.
Raw .ac3 and .dts files are analysed too, and whole discs (DVD folders,
images and drives) title set by title set. A Qt window (tonvika, Japanese
and English) and a command-line twin (tonvika-cli, text or JSON).
.
License: GPL-3.0-or-later.")

include(CPack)
