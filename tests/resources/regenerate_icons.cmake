# Regenerates the icon files from the pixel maps into a scratch directory and
# compares them byte for byte with the committed ones.
#   cmake -DICONGEN=... -DICON_DIR=... -DWORK_DIR=... -P regenerate_icons.cmake
foreach(var ICONGEN ICON_DIR WORK_DIR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
    COMMAND ${ICONGEN} ${ICON_DIR}/norvana-32.txt ${ICON_DIR}/norvana-16.txt ${WORK_DIR}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "icongen failed: ${result}")
endif()
file(GLOB made RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
list(SORT made)
set(expected norvana-128.png norvana-16.png norvana-32.png norvana-64.png norvana-pixels.h norvana.ico)
if(NOT made STREQUAL expected)
    message(FATAL_ERROR "icongen made '${made}', expected '${expected}'")
endif()
foreach(name IN LISTS made)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${name} ${ICON_DIR}/${name}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${ICON_DIR}/${name} is not what the pixel maps make; "
                            "run: cmake --build BUILD --target norvana_regenerate_icons")
    endif()
    message(STATUS "${name}: identical")
endforeach()
