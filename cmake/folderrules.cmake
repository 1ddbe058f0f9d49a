# touch_folder_rules(<folder> SOURCES ... FOLDERS ... [QT ...]): the build checks the folder's
# sources (checkincludes.cmake) for includes of folders of ours or Qt modules other than those
# named; the folder libraries compile only after every folder passed (target folderrules).
set(FOLDER_RULE_STAMPS "")
set(FOLDER_RULE_CHECK ${CMAKE_CURRENT_LIST_DIR}/checkincludes.cmake)
function(touch_folder_rules folder)
    cmake_parse_arguments(RULE "" "" "SOURCES;FOLDERS;QT" ${ARGN})
    list(TRANSFORM RULE_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/")
    list(JOIN RULE_SOURCES "," sources)
    list(JOIN RULE_FOLDERS "," folders)
    list(JOIN RULE_QT "," modules)
    set(stamp ${CMAKE_BINARY_DIR}/folderrules/${folder}.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DFOLDERS=${folders} -DQT_MODULES=${modules}
                -DSOURCES=${sources} -DSTAMP=${stamp} -P ${FOLDER_RULE_CHECK}
        DEPENDS ${RULE_SOURCES} ${FOLDER_RULE_CHECK}
        COMMENT "Checking the includes of ${folder}/" VERBATIM)
    set(FOLDER_RULE_STAMPS ${FOLDER_RULE_STAMPS} ${stamp} PARENT_SCOPE)
endfunction()
