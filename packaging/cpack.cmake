# CPack: one Debian package per install component (see CMakeLists.txt here).

set(_tp_version ${PROJECT_VERSION})
set(_tp_pkg_components libs dev)
if(TP_WITH_SENDTOOL)
    list(APPEND _tp_pkg_components prnfeed)
endif()
if(TP_WITH_DESK)
    list(APPEND _tp_pkg_components tpgdesk)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tableping)
set(CPACK_PACKAGE_VENDOR "TablePing")
set(CPACK_PACKAGE_VERSION ${_tp_version})
set(CPACK_PACKAGE_CONTACT "TablePing developers <dev@tableping.sk>")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_COMPONENTS_ALL ${_tp_pkg_components})
set(CPACK_DEB_COMPONENT_INSTALL ON)
# /etc files are installed by absolute path, which needs DESTDIR staging.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for libdova1 (only it holds a shared library), so packages
# built against it get "libdova1 (>= version)".
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# prnfeed needs libdova.so.1 from this build; its package dependency is
# written out below, dpkg-shlibdeps only has to find the file.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/portlib)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(_tp_same "(= ${_tp_version})")

# Control files: conffiles for what the packages put in /etc; libdova1 runs
# ldconfig by trigger, and its own scripts (which keep CPack from writing
# ones that call ldconfig) apply the udev rule to printers already plugged in.
set(_tp_control ${CMAKE_CURRENT_BINARY_DIR}/control)
file(MAKE_DIRECTORY ${_tp_control}/libs ${_tp_control}/tpgdesk)
file(WRITE ${_tp_control}/libs/conffiles "${TP_INSTALL_SYSCONFDIR}/libdova.conf\n")
file(WRITE ${_tp_control}/libs/triggers "activate-noawait ldconfig\n")
configure_file(debian/libdova1.postinst ${_tp_control}/libs/postinst COPYONLY)
configure_file(debian/libdova1.postrm ${_tp_control}/libs/postrm COPYONLY)
file(WRITE ${_tp_control}/tpgdesk/conffiles "${TP_INSTALL_SYSCONFDIR}/xdg/autostart/tpgdesk.desktop\n")

set(CPACK_DEBIAN_LIBS_PACKAGE_NAME libdova1)
set(CPACK_DEBIAN_LIBS_PACKAGE_SECTION libs)
# CUPS printers (SPOOLER targets) load libcups when first used.
set(CPACK_DEBIAN_LIBS_PACKAGE_RECOMMENDS "libcups2")
# LIBUSB targets load libusb 0.1 when claimed; no other target needs it.
set(CPACK_DEBIAN_LIBS_PACKAGE_SUGGESTS "libusb-0.1-4")
set(CPACK_DEBIAN_LIBS_PACKAGE_CONTROL_EXTRA
    "${_tp_control}/libs/conffiles;${_tp_control}/libs/triggers;${_tp_control}/libs/postinst;${_tp_control}/libs/postrm")
set(CPACK_DEBIAN_LIBS_DESCRIPTION "printer port library of TablePing
libdova reaches receipt and ticket printers through one flat C API:
network printers (TCP and KP status channel), files, the console, a hex
dump, and the other kinds of port this build has (serial, parallel, USB,
HID, CUPS, printer makers' libraries).
.
This package holds the shared library, its settings file
/etc/libdova.conf and a udev rule that lets the user logged in at the
machine print on USB printers.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libdova-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libdova1 ${_tp_same}")
set(CPACK_DEBIAN_DEV_DESCRIPTION "printer port library of TablePing - development files
libdova reaches receipt and ticket printers through one flat C API.
.
This package holds the header dova/dova.h, the link libdova.so, the
pkg-config file dova.pc and the CMake package files for
find_package(dova).")

set(CPACK_DEBIAN_PRNFEED_PACKAGE_NAME prnfeed)
set(CPACK_DEBIAN_PRNFEED_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PRNFEED_PACKAGE_DEPENDS "libdova1 ${_tp_same}")
set(CPACK_DEBIAN_PRNFEED_DESCRIPTION "send printer scripts and files to receipt printers
prnfeed turns a printer script (control codes by name, numbers, quoted
text, messages, pauses) into bytes, or takes a file unchanged, and sends
it to a printer port through libdova: a network printer, a USB, serial
or parallel printer, a CUPS printer, a file.")

set(CPACK_DEBIAN_TPGDESK_PACKAGE_NAME tpgdesk)
set(CPACK_DEBIAN_TPGDESK_PACKAGE_SECTION misc)
# tpgdesk prints through prnfeed, and shows its windows through a Qt
# platform plugin, which no library of it links.
set(CPACK_DEBIAN_TPGDESK_PACKAGE_DEPENDS "prnfeed ${_tp_same}, qt6-qpa-plugins")
set(CPACK_DEBIAN_TPGDESK_DESCRIPTION "TablePing guest calls in the system tray
Guests scan the QR code on their table and call the waiter or ask for the
bill on their phone. tpgdesk sits in the tray from login, fetches the
calls from the TablePing web service, shows them in an alert box and
prints tickets on the receipt printer. It also registers the restaurant,
edits its profile and makes the QR codes of its tables.")
set(CPACK_DEBIAN_TPGDESK_PACKAGE_CONTROL_EXTRA "${_tp_control}/tpgdesk/conffiles")

include(CPack)
