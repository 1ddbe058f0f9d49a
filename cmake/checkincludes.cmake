# Checks the includes of one folder's sources against what the folder's README allows: the
# headers of our folders, and Qt headers named with their module (<QtWidgets/QWidget>); a folder
# allowed no Qt module may include no Qt header at all. The plain form (<QWidget>) needs no check
# elsewhere: without the module's include path it does not compile. Run by the build
# (touch_folder_rules in folderrules.cmake); the lists come comma-separated.
cmake_minimum_required(VERSION 3.16)

string(REPLACE "," ";" sources "${SOURCES}")
string(REPLACE "," ";" folders "${FOLDERS}")
string(REPLACE "," ";" modules "${QT_MODULES}")
set(ours app charts chip cmake codegen compat diagnostics link packaging production project quality
    resources sim templates tests tuning)
set(faults "")
foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.(h|c|cpp)$")
        continue()
    endif()
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[^<\"]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
        set(top "")
        if(header MATCHES "^([A-Za-z0-9_]+)/")
            set(top "${CMAKE_MATCH_1}")
        endif()
        if((top IN_LIST ours AND NOT top IN_LIST folders)
           OR (top MATCHES "^Qt[A-Z]" AND NOT top IN_LIST modules)
           OR (NOT modules AND header MATCHES "^Q"))
            string(APPEND faults "  ${source}: ${line}\n")
        endif()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "${FOLDER}/ may include only ${FOLDERS} of ours and the Qt modules "
                        "'${QT_MODULES}' (see ${FOLDER}/README.md):\n${faults}")
endif()
file(WRITE "${STAMP}" "")
