# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack as it starts, for a cross build: dpkg-shlibdeps, which names
# the packages the program's libraries come from, asks the sysroot's dpkg
# database rather than the build machine's (CPack passes on only variables
# named CPACK_...).
if(CPACK_CLARIFIER_DPKG_ADMINDIR)
    set(ENV{DPKG_ADMINDIR} "${CPACK_CLARIFIER_DPKG_ADMINDIR}")
endif()
