# Composes the sounds afresh into OUT and fails unless each equals the committed one in DATA.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${COMPOSER} ${OUT} RESULT_VARIABLE composed)
if(NOT composed EQUAL 0)
    message(FATAL_ERROR "the composer failed: ${composed}")
endif()
foreach(name その他.wav 禁止.wav 駒打音.wav BGM.wav)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${DATA}/${name}
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
        message(FATAL_ERROR "${name} as composed now differs from the committed one")
    endif()
endforeach()
