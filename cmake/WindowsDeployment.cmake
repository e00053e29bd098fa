# SPDX-License-Identifier: GPL-3.0-or-later
# Windows: the program's icon and version resource, the Qt and compiler
# runtime DLLs it needs installed beside it, and the installer and ZIP.

# What the program loads besides the system: Core, Gui and Widgets, the
# windows platform plugin and the native (Vista) style that gives it the
# system's look, and the compiler's runtime. Its pictures are drawn in code,
# so no image-format plugin is needed.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)
set(runtime_dlls ${qt_bin}/Qt6Core.dll ${qt_bin}/Qt6Gui.dll ${qt_bin}/Qt6Widgets.dll)
set(runtime_dirs ${qt_bin})
if(MINGW)
    foreach(name libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                        OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${dll}" OR NOT EXISTS "${dll}")
            message(FATAL_ERROR "The compiler's runtime ${name} was not found")
        endif()
        list(APPEND runtime_dlls ${dll})
        get_filename_component(dir ${dll} DIRECTORY)
        list(APPEND runtime_dirs ${dir})
    endforeach()
endif()
list(REMOVE_DUPLICATES runtime_dirs)
if(CMAKE_CROSSCOMPILING)
    # The stand-in for the designed faces, shipped with the program, and the
    # fonts of the tests under Wine (whose offscreen platform reads only the
    # folder in QT_QPA_FONTDIR).
    set(CLARIFIER_STANDIN_FONTS /usr/share/fonts/truetype/liberation CACHE PATH
        "Folder holding the Liberation Sans Narrow fonts shipped with the program")
    file(GLOB standin_fonts ${CLARIFIER_STANDIN_FONTS}/LiberationSansNarrow-*.ttf)
    if(NOT standin_fonts)
        message(FATAL_ERROR "No Liberation Sans Narrow in ${CLARIFIER_STANDIN_FONTS} (Debian: fonts-liberation)")
    endif()
endif()
# Where Wine finds those DLLs for the build's own programs (tests, and the
# icon rendering below).
list(JOIN runtime_dirs "|" CLARIFIER_WINE_DLL_DIRS)
include(${CMAKE_CURRENT_LIST_DIR}/RunUnderWine.cmake)

# The icon, rendered at build time from the same drawing as the window's,
# and the version resource.
set(clarifier_ico ${CMAKE_BINARY_DIR}/jt65a-clarifier.ico)
if(CMAKE_CROSSCOMPILING)
    clarifier_wine_command(render_icon PROGRAM $<TARGET_FILE:render-icons> ARGS --ico ${clarifier_ico})
else()
    set(render_icon render-icons --ico ${clarifier_ico})
endif()
add_custom_command(
    OUTPUT ${clarifier_ico}
    COMMAND ${render_icon}
    DEPENDS render-icons
    COMMENT "Rendering the program's icon"
    VERBATIM)
set(clarifier_rc ${CMAKE_BINARY_DIR}/jt65a-clarifier.rc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/../platform/app/windows/jt65a-clarifier.rc.in ${clarifier_rc} @ONLY)
set_source_files_properties(${clarifier_rc} PROPERTIES OBJECT_DEPENDS ${clarifier_ico})
target_sources(jt65a-clarifier PRIVATE ${clarifier_rc})

if(CMAKE_CROSSCOMPILING)
    # No windeployqt on the build machine: install the DLLs above by name,
    # stripped.
    install(FILES ${runtime_dlls} DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${qt_plugins}/platforms/qwindows.dll DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
    install(FILES ${qt_plugins}/styles/qwindowsvistastyle.dll DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)
    # The stand-in for the designed faces (FontSubstitutes), with its licence.
    install(FILES ${standin_fonts} DESTINATION ${CMAKE_INSTALL_BINDIR}/fonts)
    set(CLARIFIER_STANDIN_FONTS_LICENCE /usr/share/doc/fonts-liberation/copyright CACHE FILEPATH
        "Their licence")
    install(FILES ${CLARIFIER_STANDIN_FONTS_LICENCE}
        DESTINATION ${CMAKE_INSTALL_BINDIR}/fonts RENAME LICENSE-Liberation.txt)
    install(CODE "
        file(GLOB_RECURSE installed_dlls \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/*.dll\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-all \${installed_dlls} COMMAND_ERROR_IS_FATAL ANY)
    ")
else()
    # A native build has Qt's own deployment tool.
    qt_generate_deploy_app_script(TARGET jt65a-clarifier
        FILENAME_VARIABLE deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
    install(SCRIPT ${deploy_script})
endif()

# The installer: 64-bit, under Program Files, with a Start-menu entry.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGE_EXECUTABLES ${PROJECT_NAME} "${CLARIFIER_TITLE}")
set(CPACK_NSIS_DEFINES "Target amd64-unicode")  # Debian's NSIS makes 32-bit installers otherwise
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "${CLARIFIER_TITLE}")
set(CPACK_NSIS_DISPLAY_NAME "${CLARIFIER_TITLE} ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${clarifier_ico})
set(CPACK_NSIS_MUI_UNIICON ${clarifier_ico})
set(CPACK_NSIS_INSTALLED_ICON_NAME "${CMAKE_INSTALL_BINDIR}\\\\${PROJECT_NAME}.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/../LICENSE)
