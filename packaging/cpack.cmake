# `make package`: a Debian package of what `cmake --install` installs, under /usr.
# Packaging takes the tree as built (make builds it first) and never starts a build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvconv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${ORVCONV_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries come from the binaries. The window's font, its sounds, its icon (drawn by Qt's
# SVG plugin) and Qt's own texts (the file dialog's buttons) in the desktop's language make
# it look and sound as designed, but it works without them (another font, the plain beep,
# the desktop entry's icon alone, English buttons).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, sound-theme-freedesktop, qt6-translations-l10n, libqt6svg6, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "orvconv unpacks the pack archives (.dat) and animation files (.ani) of
ORVENDA 3.2 and writes every entry in a standard format: pictures as 24-bit
BMP or PNG, animations as complete composed frames, sounds as 16-bit PCM WAV,
everything else as raw copies. It comes as a Japanese window (orvconv) and as
orvconv-cli for terminals and scripts; orvpack builds archives back from the
converted (and perhaps edited) files. The Python module orv reads and writes
the same files from scripts.")
# The Python module is built for the one Python 3 of the release; Pillow and numpy serve
# its images and arrays, and it works without them.
if(TARGET orv_python)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3 (>= 3.11), python3 (<< 3.12)")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", python3-pil, python3-numpy")
endif()
include(CPack)
