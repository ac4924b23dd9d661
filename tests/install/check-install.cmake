# Installs the build into a fresh prefix, writes a row into the installed rate table, installs
# again and checks that the table was kept; also checks the menu entry, the icons and the software
# centres' entry.
# cmake -DBUILD_DIR=... -DPREFIX=... -DWRITER=... -P check-install.cmake
file(REMOVE_RECURSE "${PREFIX}")

function(install_once)
    execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install failed")
    endif()
endfunction()

install_once()
file(GLOB programs "${PREFIX}/lib*/zel-calculation/zel-calculation"
                   "${PREFIX}/lib/*/zel-calculation/zel-calculation")
list(LENGTH programs found)
if(NOT found EQUAL 1)
    message(FATAL_ERROR "expected one installed program, found: ${programs}")
endif()
get_filename_component(program_dir "${programs}" DIRECTORY)
foreach(file "${program_dir}/zel.mdb" "${PREFIX}/bin/zel-calculation"
        "${PREFIX}/share/applications/zel-calculation.desktop"
        "${PREFIX}/share/icons/hicolor/32x32/apps/zel-calculation.png"
        "${PREFIX}/share/icons/hicolor/scalable/apps/zel-calculation.svg")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(READ "${PREFIX}/share/applications/zel-calculation.desktop" entry)
if(NOT entry MATCHES "Exec=\"${program_dir}/zel-calculation\"")
    message(FATAL_ERROR "the menu entry does not start the installed program:\n${entry}")
endif()

# The menu entry and the software centres' entry pass their validators, offline.
set(metainfo "${PREFIX}/share/metainfo/example.zel_calculation.ZelCalculation.metainfo.xml")
foreach(check "appstreamcli;validate;--no-net;${metainfo}"
        "desktop-file-validate;${PREFIX}/share/applications/zel-calculation.desktop")
    execute_process(COMMAND ${check} RESULT_VARIABLE valid OUTPUT_VARIABLE report
                    ERROR_VARIABLE report)
    if(NOT valid EQUAL 0)
        message(FATAL_ERROR "${check}:\n${report}")
    endif()
endforeach()
file(READ "${metainfo}" component)
if(NOT component MATCHES "<launchable type=\"desktop-id\">zel-calculation.desktop</launchable>")
    message(FATAL_ERROR "the software centres' entry does not launch the menu entry")
endif()

execute_process(COMMAND "${WRITER}" "${program_dir}" 2003 1 RESULT_VARIABLE written OUTPUT_QUIET)
if(NOT written EQUAL 0)
    message(FATAL_ERROR "could not add a row to the installed table")
endif()
file(SHA256 "${program_dir}/zel.mdb" before)
install_once()
file(SHA256 "${program_dir}/zel.mdb" after)
if(NOT before STREQUAL after)
    message(FATAL_ERROR "installing again changed the rate table")
endif()
file(REMOVE_RECURSE "${PREFIX}")
