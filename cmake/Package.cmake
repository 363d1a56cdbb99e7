# The help files and the release packages: a portable folder with VROK.exe, its sounds, VROK.HLP
# (WinHelp, up to Windows XP), VROK.CHM (HTML Help, from Vista on) and a short readme (VROK writes
# VROK.INI beside itself, so the ZIP does not belong in Program Files); and a per-user installer.
# halibut writes both help files from one source but leaves the WinHelp context map empty; the map
# tool gives the configuration topic the number the configuration dialog's Help asks WinHelp for.
find_program(HALIBUT_PROGRAM halibut)
find_package(Python3 COMPONENTS Interpreter)
if(HALIBUT_PROGRAM AND Python3_Interpreter_FOUND)
    file(STRINGS ${CMAKE_SOURCE_DIR}/resources/resource.h VROK_HELP_CONTEXT_LINE
         REGEX "^#define HELP_CONTEXT_CONFIGURATION ")
    string(REGEX REPLACE ".* ([0-9]+)$" "\\1" VROK_HELP_CONTEXT_CONFIGURATION "${VROK_HELP_CONTEXT_LINE}")
    set(VROK_HELP_FILE ${CMAKE_BINARY_DIR}/bin/VROK.HLP)
    set(VROK_HTML_HELP_FILE ${CMAKE_BINARY_DIR}/bin/VROK.CHM)
    add_custom_command(OUTPUT ${VROK_HELP_FILE} ${VROK_HTML_HELP_FILE}
        COMMAND ${HALIBUT_PROGRAM} --winhelp=${VROK_HELP_FILE} --chm=${VROK_HTML_HELP_FILE}
                ${CMAKE_SOURCE_DIR}/resources/help/vrok.but
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/hlp_context_map.py ${VROK_HELP_FILE}
                configuration=${VROK_HELP_CONTEXT_CONFIGURATION}
        DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/vrok.but ${CMAKE_SOURCE_DIR}/tools/hlp_context_map.py
                ${CMAKE_SOURCE_DIR}/resources/resource.h
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
        COMMENT "Building VROK.HLP and VROK.CHM")
    add_custom_target(vrok_help ALL DEPENDS ${VROK_HELP_FILE} ${VROK_HTML_HELP_FILE})
    add_dependencies(VROK vrok_help)
else()
    message(STATUS "halibut or Python 3 not found: VROK.HLP and VROK.CHM are not built")
endif()

install(TARGETS VROK RUNTIME DESTINATION .)
foreach(sound ${VROK_DEFAULT_SOUNDS})
    install(FILES ${CMAKE_SOURCE_DIR}/resources/${sound} DESTINATION .)
endforeach()
if(VROK_HELP_FILE)
    install(FILES ${VROK_HELP_FILE} ${CMAKE_BINARY_DIR}/bin/VROK.cnt ${VROK_HTML_HELP_FILE} DESTINATION .)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/resources/package-readme.txt DESTINATION . RENAME README.txt)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VROK_PACKAGE_ARCH win64)
else()
    set(VROK_PACKAGE_ARCH win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VROK)
set(CPACK_PACKAGE_VERSION 3.49)
set(CPACK_PACKAGE_FILE_NAME VROK-3.49-${VROK_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The installer holds what the ZIP holds: the install rules above put the release into a staging
# folder, and makensis packs it (cmake --build . --target installer).
find_program(MAKENSIS_PROGRAM makensis)
if(MAKENSIS_PROGRAM AND VROK_HELP_FILE)
    set(VROK_INSTALLER_STAGE ${CMAKE_BINARY_DIR}/installer-stage)
    set(VROK_INSTALLER ${CPACK_PACKAGE_DIRECTORY}/VROK-${PROJECT_VERSION}-setup-${VROK_PACKAGE_ARCH}.exe)
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${VROK_INSTALLER_STAGE}
        COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --config $<CONFIG> --prefix ${VROK_INSTALLER_STAGE}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CPACK_PACKAGE_DIRECTORY}
        COMMAND ${MAKENSIS_PROGRAM} -V2 -DVERSION=${PROJECT_VERSION} -DARCH=${VROK_PACKAGE_ARCH}
                -DSTAGE=${VROK_INSTALLER_STAGE} -DOUTFILE=${VROK_INSTALLER}
                ${CMAKE_SOURCE_DIR}/resources/installer/vrok.nsi
        COMMENT "Building ${VROK_INSTALLER}"
        VERBATIM)
    add_dependencies(installer VROK vrok_help)
else()
    message(STATUS "makensis or the help files not found: no installer target")
endif()
