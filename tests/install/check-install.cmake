# Installs the build into a fresh prefix, writes a row into the installed rate table, installs
# again and checks that the table was kept; also checks the menu entry, the icons and the software
# centres' entry, which must pass their validators offline.
# cmake -DBUILD_DIR=... -DPREFIX=... -DWRITER=... -P check-install.cmake
set(entry "${PREFIX}/share/applications/zel-calculation.desktop")
set(metainfo "${PREFIX}/share/metainfo/example.zel_calculation.ZelCalculation.metainfo.xml")

# Runs the command; unless it succeeds, stops with the command and all it printed.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed: ${command}\n${output}")
    endif()
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}")
# Exactly one program: with none or two, the first path below names no file.
file(GLOB program "${PREFIX}/lib*/zel-calculation/zel-calculation"
                  "${PREFIX}/lib/*/zel-calculation/zel-calculation")
get_filename_component(program_dir "${program}" DIRECTORY)
foreach(file "${program_dir}/zel-calculation" "${program_dir}/zel.mdb" "${entry}"
        "${PREFIX}/bin/zel-calculation"
        "${PREFIX}/share/icons/hicolor/32x32/apps/zel-calculation.png"
        "${PREFIX}/share/icons/hicolor/scalable/apps/zel-calculation.svg")
    run(test -f "${file}")
endforeach()
# The menu entry starts the installed program, and the software centres' entry launches it.
run(grep -qF "Exec=\"${program_dir}/zel-calculation\"" "${entry}")
run(grep -qF "<launchable type=\"desktop-id\">zel-calculation.desktop</launchable>" "${metainfo}")
run(appstreamcli validate --no-net "${metainfo}")
run(desktop-file-validate "${entry}")

run("${WRITER}" "${program_dir}" 2003 1)
file(COPY_FILE "${program_dir}/zel.mdb" "${PREFIX}/written.mdb")
run("${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}")
run("${CMAKE_COMMAND}" -E compare_files "${PREFIX}/written.mdb" "${program_dir}/zel.mdb")
file(REMOVE_RECURSE "${PREFIX}")
