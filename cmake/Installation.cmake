# Installing the station: the programs with their shipped files in one
# program directory, the set-up files of the station beside the system's own,
# and the Debian package of both (cpack -G DEB, see scripts/package).
#
# Components: "programm" is the program directory alone (an install without
# root into any prefix); "station" the system user, the station root, the two
# RAM disks and the units that start Kestrix on the panel.

# CMake's own default, /usr/local, also in build folders configured before.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(CMAKE_INSTALL_PREFIX /opt/kestrix CACHE PATH "program directory of the station" FORCE)
endif()
set(KESTRIX_VERSION 1.0.0 CACHE STRING "version of the station package")
set(KESTRIX_BENUTZER kestrix CACHE STRING "system user the station runs as")
set(KESTRIX_STATIONSWURZEL /var/lib/kestrix CACHE PATH "station root of the installed station")
set(KESTRIX_UNITVERZEICHNIS /lib/systemd/system CACHE PATH "where the system units go")
option(KESTRIX_STATIONSDATEIEN "install the set-up files of the station too" ON)

set(KESTRIX_PROGRAMMVERZEICHNIS ${CMAKE_INSTALL_PREFIX})

# ---- the program directory ---------------------------------------------------
# Loadmate replaces Kestrix beside itself and the programs that Kestrix starts
# are looked up beside it, so everything goes into the one folder.
# The other programs are added by their own folders, after this file; each is
# installed when it is built.
# "programme" builds just them (scripts/package).
add_custom_target(programme)
function(kestrix_programme_installieren)
  foreach(ziel Kestrix Loadmate q7sim dadavu)
    if(TARGET ${ziel})
      install(TARGETS ${ziel} RUNTIME DESTINATION . COMPONENT programm)
      add_dependencies(programme ${ziel})
    endif()
  endforeach()
endfunction()
cmake_language(DEFER CALL kestrix_programme_installieren)
install(FILES ${CMAKE_SOURCE_DIR}/project/Kesti.ini ${CMAKE_SOURCE_DIR}/run/Matrix_Cal_.txt
  DESTINATION . COMPONENT programm)

# ---- the station set-up ------------------------------------------------------
# systemd names a mount unit after its path: /var/lib/kestrix/d is
# var-lib-kestrix-d.mount. Only plain paths need no escaping.
if(NOT KESTRIX_STATIONSWURZEL MATCHES "^(/[a-z0-9_]+)+$")
  message(FATAL_ERROR "KESTRIX_STATIONSWURZEL: only lower-case letters, digits and _ between the slashes")
endif()
string(SUBSTRING ${KESTRIX_STATIONSWURZEL} 1 -1 wurzel_ohne_strich)
string(REPLACE "/" "-" KESTRIX_WURZEL_UNIT ${wurzel_ohne_strich})

set(paketordner ${CMAKE_SOURCE_DIR}/packaging)
set(erzeugt ${CMAKE_BINARY_DIR}/packaging)
foreach(datei kestrix.service kestrix-panel.service kestrix.tmpfiles kestrix.sysusers
              postinst prerm postrm conffiles)
  configure_file(${paketordner}/${datei} ${erzeugt}/${datei} @ONLY)
endforeach()
foreach(lw d e)
  if(lw STREQUAL "d")
    set(KESTRIX_LAUFWERK_ZWECK "data-interface drive")
  else()
    set(KESTRIX_LAUFWERK_ZWECK "logger buffer drive")
  endif()
  set(KESTRIX_LAUFWERK ${lw})
  configure_file(${paketordner}/laufwerk.mount ${erzeugt}/${KESTRIX_WURZEL_UNIT}-${lw}.mount @ONLY)
endforeach()
# Debian wants the change log compressed and reproducible (no name, no time).
execute_process(COMMAND gzip -9nc ${paketordner}/changelog
  OUTPUT_FILE ${erzeugt}/changelog.gz)

if(KESTRIX_STATIONSDATEIEN)
  install(FILES ${erzeugt}/kestrix.service ${erzeugt}/kestrix-panel.service
                ${erzeugt}/${KESTRIX_WURZEL_UNIT}-d.mount ${erzeugt}/${KESTRIX_WURZEL_UNIT}-e.mount
    DESTINATION ${KESTRIX_UNITVERZEICHNIS} COMPONENT station)
  install(FILES ${erzeugt}/kestrix.tmpfiles DESTINATION /usr/lib/tmpfiles.d
    RENAME kestrix.conf COMPONENT station)
  install(FILES ${erzeugt}/kestrix.sysusers DESTINATION /usr/lib/sysusers.d
    RENAME kestrix.conf COMPONENT station)
  install(FILES ${paketordner}/copyright ${erzeugt}/changelog.gz ${CMAKE_SOURCE_DIR}/README.md
    DESTINATION /usr/share/doc/kestrix COMPONENT station)
endif()

# ---- the Debian package ------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrix)
set(CPACK_PACKAGE_VERSION ${KESTRIX_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvamet")
set(CPACK_PACKAGE_CONTACT "Kestrix station team <station@kestrix.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "operating program of a Q7 measuring station")
set(CPACK_PACKAGE_DESCRIPTION "Kestrix drives a Q7 measuring box over TCP, runs measurement runs\n\
and writes the data-interface and logger files of the station. The package\n\
also holds the update wizard Loadmate, the simulated box q7sim and the\n\
set-up of the station: a system user, RAM disks for the data interface and\n\
the logger buffer, and the units that start Kestrix on the panel.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries: the font the pages are laid out for, the user
# creation of the maintainer scripts; the panel's display server.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xserver-xorg-core, xserver-xorg-input-libinput, xauth")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${erzeugt}/postinst ${erzeugt}/prerm ${erzeugt}/postrm ${erzeugt}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES TRUE)
if(NOT CPACK_OUTPUT_FILE_PREFIX)
  set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/paket)
endif()
include(CPack)
