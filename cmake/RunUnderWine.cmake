# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program of the build under Wine, as a build step or a test.
#
# Included by the build (a cross build for Windows), it gives
#
#   clarifier_wine_command(VARIABLE PROGRAM program [ARGS a b...] [QT_REPORT FILE])
#
# which sets VARIABLE to the command that runs `program` (a path or a
# generator expression) that way, with the DLL folders the build put in
# CLARIFIER_WINE_DLL_DIRS ("|"-separated) as its search path. That command
# runs this file as a script:
#
#   cmake -DPROGRAM=X.exe [-DARGS=a|b] [-DDLL_DIRS=d1|d2] [-DQT_REPORT=FILE]
#         [-DEMULATOR=wine] -P RunUnderWine.cmake
#
# Lists are separated by "|", so that they pass through CTest and custom
# commands whole. DLL_DIRS become the program's search path (WINEPATH).
# Wine keeps the QT_* variables from Windows programs unless they are given
# as WINEQT_*, so each is passed on that way. With QT_REPORT the program is
# a Qt Test program, whose report does not reach Wine's standard output: it
# is written to that file and printed here.
if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(CLARIFIER_RUN_UNDER_WINE ${CMAKE_CURRENT_LIST_FILE})
    function(clarifier_wine_command variable)
        cmake_parse_arguments(PARSE_ARGV 1 arg "" "PROGRAM;QT_REPORT" "ARGS")
        list(JOIN arg_ARGS "|" arguments)
        set(command ${CMAKE_COMMAND} "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
            "-DPROGRAM=${arg_PROGRAM}" "-DARGS=${arguments}" "-DDLL_DIRS=${CLARIFIER_WINE_DLL_DIRS}")
        if(arg_QT_REPORT)
            list(APPEND command "-DQT_REPORT=${arg_QT_REPORT}")
        endif()
        list(APPEND command -P ${CLARIFIER_RUN_UNDER_WINE})
        set(${variable} ${command} PARENT_SCOPE)
    endfunction()
    return()
endif()

if(NOT EMULATOR)
    set(EMULATOR wine)
endif()
string(REPLACE "|" ";" arguments "${ARGS}")
string(REPLACE "|" ";" dll_dirs "${DLL_DIRS}")
set(search_path "")
foreach(dir IN LISTS dll_dirs)
    string(REPLACE "/" "\\" dir "Z:${dir}")
    list(APPEND search_path "${dir}")
endforeach()
list(JOIN search_path ";" search_path)
set(ENV{WINEPATH} "${search_path}")
set(ENV{WINEDEBUG} "-all")
execute_process(COMMAND ${CMAKE_COMMAND} -E environment OUTPUT_VARIABLE environment)
string(REGEX MATCHALL "(^|\n)QT_[A-Za-z0-9_]*=[^\n]*" qt_variables "${environment}")
foreach(variable IN LISTS qt_variables)
    string(STRIP "${variable}" variable)
    string(REGEX REPLACE "=.*" "" name "${variable}")
    set(ENV{WINE${name}} "$ENV{${name}}")
endforeach()

if(QT_REPORT)
    file(REMOVE "${QT_REPORT}")
    list(APPEND arguments -o "${QT_REPORT},txt")
endif()
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" ${arguments} RESULT_VARIABLE status)
if(QT_REPORT)
    if(EXISTS "${QT_REPORT}")
        file(READ "${QT_REPORT}" report)
        message("${report}")
    else()
        message("No test report was written.")
    endif()
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ended with ${status}")
endif()
