# SPDX-License-Identifier: GPL-3.0-or-later
# The program's identity, given once. The version and the description come
# from project(); the rest is here. A version bump is the project() line and,
# for the release's date, CLARIFIER_RELEASE_DATE (plus a changelog entry).
#
# Everything that names the program is made from these: the generated
# ProgramIdentity.h (target `identity`, standard C++ only, so the core may use
# it), the manual page, the AppStream metainfo, the Windows version resource,
# CPack's package and installer names.
set(CLARIFIER_TITLE "JT65a raw log clarifier")
set(CLARIFIER_APP_ID org.jt65a.Clarifier)
set(CLARIFIER_RELEASE_DATE 2026-12-08)   # YYYY-MM-DD

# The manual page's date, "Month YYYY".
string(SUBSTRING "${CLARIFIER_RELEASE_DATE}" 0 4 CLARIFIER_RELEASE_YEAR)
string(SUBSTRING "${CLARIFIER_RELEASE_DATE}" 5 2 _month)
math(EXPR _month_index "${_month} - 1")
set(_months January February March April May June July August September October November December)
list(GET _months ${_month_index} _month_name)
set(CLARIFIER_RELEASE_MONTH "${_month_name} ${CLARIFIER_RELEASE_YEAR}")

set(CLARIFIER_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProgramIdentity.h.in
    ${CLARIFIER_GENERATED_DIR}/ProgramIdentity.h @ONLY)
add_library(identity INTERFACE)
target_include_directories(identity INTERFACE ${CLARIFIER_GENERATED_DIR})

# The Debian changelog is the release history; its newest entry must be this
# version, so that a bump cannot leave it behind.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog _changelog_top
     REGEX "^${PROJECT_NAME} \\(" LIMIT_COUNT 1)
if(NOT _changelog_top MATCHES "^${PROJECT_NAME} \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog does not begin with version ${PROJECT_VERSION}: "
                        "add an entry for the release")
endif()

# The same for scripts that check what a build made (the Windows installer).
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/ProgramIdentity.env CONTENT
"CLARIFIER_TITLE='@CLARIFIER_TITLE@'
CLARIFIER_APP_ID='@CLARIFIER_APP_ID@'
PROGRAM_NAME='@PROJECT_NAME@'
PROGRAM_VERSION='@PROJECT_VERSION@'
" @ONLY)
