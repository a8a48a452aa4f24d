# `cpack -G DEB` in a release build makes the Debian package. It installs into the prefix the
# programs were built for, because that prefix tells an installed program from one unpacked into
# a folder of its own.

set(CPACK_PACKAGE_NAME calidus)
set(CPACK_PACKAGE_VENDOR "The Calidus developers")
set(CPACK_PACKAGE_CONTACT "The Calidus developers <calidus@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://calidus.example.org/calidus/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop monitor of Intel processor core temperatures")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Calidus reads the digital thermal sensor of each core of an Intel Core 2,\n"
    "Atom or Core i processor through its model-specific registers and shows the\n"
    "current, lowest, highest and average temperature of every core in a small\n"
    "window and as numbers in the system tray. Calidus watches up to four cores,\n"
    "CalidusXL six.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A normal user reaches the registers through the helper, which pkexec starts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS pkexec)

include(CPack)
