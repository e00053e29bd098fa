# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for Linux on another processor (the Raspberry Pi's arm64 and
# armhf) with Debian's cross compilers, against a sysroot of Debian's own
# packages for that architecture (scripts/arm/make-sysroot). CTest runs the
# programs under qemu-user; Qt's tools (moc, rcc, uic) are the host's, given
# with -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=<host's lib/cmake>.
#
#   -DCLARIFIER_CROSS_TRIPLET=aarch64-linux-gnu | arm-linux-gnueabihf
#   -DCLARIFIER_SYSROOT=<the sysroot>
set(CMAKE_SYSTEM_NAME Linux)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CLARIFIER_CROSS_TRIPLET CLARIFIER_SYSROOT)
if(NOT CLARIFIER_CROSS_TRIPLET OR NOT IS_DIRECTORY "${CLARIFIER_SYSROOT}")
    message(FATAL_ERROR "linux-cross.cmake needs -DCLARIFIER_CROSS_TRIPLET and -DCLARIFIER_SYSROOT")
endif()

set(triplet ${CLARIFIER_CROSS_TRIPLET})
# The emulated processor: the oldest the Pi's systems run on, a Pi 2's
# Cortex-A7 for 32-bit ARM, a Pi 4's Cortex-A72 for 64-bit.
if(triplet MATCHES "^aarch64")
    set(CMAKE_SYSTEM_PROCESSOR aarch64)
    set(qemu qemu-aarch64 -cpu cortex-a72)
elseif(triplet MATCHES "^arm")
    set(CMAKE_SYSTEM_PROCESSOR arm)
    set(qemu qemu-arm -cpu cortex-a7)
else()
    message(FATAL_ERROR "linux-cross.cmake knows no emulator for ${triplet}")
endif()

set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++)
set(CMAKE_SYSROOT ${CLARIFIER_SYSROOT})
set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt's packages come from the sysroot, its host tools from QT_HOST_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Emulated programs find the sysroot's libraries through qemu's -L, but Qt
# looks up its plugins itself, and fontconfig would write its cache into the
# host's /var/cache/fontconfig: the sysroot's plugins, and the sysroot's
# fonts with a cache in the build folder. The sysroot's fontconfig setup lacks
# the rules that its install scripts would have switched on, which choose a
# proportional face for "sans-serif", so the families are named here.
set(fontconfig_file ${CMAKE_BINARY_DIR}/emulated-fonts.conf)
get_property(in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(NOT in_try_compile)
    file(WRITE ${fontconfig_file} "<?xml version=\"1.0\"?>
<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">
<fontconfig>
  <dir>${CLARIFIER_SYSROOT}/usr/share/fonts</dir>
  <cachedir>${CMAKE_BINARY_DIR}/fontconfig-cache</cachedir>
  <include ignore_missing=\"yes\">${CLARIFIER_SYSROOT}/etc/fonts/conf.d</include>
  <alias><family>sans-serif</family><prefer><family>Liberation Sans</family></prefer></alias>
  <alias><family>serif</family><prefer><family>Liberation Serif</family></prefer></alias>
  <alias><family>monospace</family><prefer><family>Liberation Mono</family></prefer></alias>
</fontconfig>
")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${qemu} -L ${CLARIFIER_SYSROOT}
    -E QT_PLUGIN_PATH=${CLARIFIER_SYSROOT}/usr/lib/${triplet}/qt6/plugins
    -E FONTCONFIG_FILE=${fontconfig_file})
