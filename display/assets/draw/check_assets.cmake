# Runs the bitmap generator into OUTPUT and checks that every picture the game paints is
# committed in COMMITTED at every scale, byte-identical to a fresh drawing, of its size there,
# and opaque or transparent as the game paints it; the window icon and the application icons
# for the desktop menus (icons/, installed) likewise.
#   cmake -DGENERATOR=... -DCOMMITTED=... -DOUTPUT=... -P check_assets.cmake
cmake_minimum_required(VERSION 3.25)

# name width height PNG colour type (2 opaque RGB, 6 RGB with alpha), sizes at 1×
set(pictures
    HU_2:33:41:2 KYOU_2:33:41:2 KEI_2:33:41:2 GIN_2:33:41:2
    KIN_2:33:41:2 KAKU_2:33:41:2 SYA_2:33:41:2 OU_2:33:41:2
    SITA_HU:33:41:2 SITA_KYOU:33:41:2 SITA_KEI:33:41:2 SITA_GIN:33:41:2
    SITA_KIN:33:41:2 SITA_KAKU:33:41:2 SITA_SYA:33:41:2 SITA_OU:33:41:2
    KARA_MASU:33:41:2 QXSHOGI:115:57:2 HAIKEI:34:41:2
    PA1:33:41:2 PA2:33:41:2 KOMA_SYO:33:41:2 KOMA_CYU:33:41:2
    ICO_MAN:32:32:6 ICO_COM:32:32:6)
# scale as numerator:denominator, and its folder; a picture there is its 1× size times the
# scale, rounded up
set(scales 1:1: 3:2:1.5x/ 2:1:2x/ 3:1:3x/)
set(expected QUOLVET_ICON:32:32:2
    icons/quolvet-32:32:32:6 icons/quolvet-48:48:48:6 icons/quolvet-64:64:64:6
    icons/quolvet-128:128:128:6 icons/quolvet-256:256:256:6)
foreach(scale IN LISTS scales)
    string(REPLACE ":" ";" scale "${scale}")
    list(GET scale 0 numerator)
    list(GET scale 1 denominator)
    list(LENGTH scale parts)
    set(folder "")
    if(parts GREATER 2)
        list(GET scale 2 folder)
    endif()
    foreach(picture IN LISTS pictures)
        string(REPLACE ":" ";" fields "${picture}")
        list(GET fields 0 name)
        list(GET fields 1 width)
        list(GET fields 2 height)
        list(GET fields 3 colour_type)
        math(EXPR width "(${width} * ${numerator} + ${denominator} - 1) / ${denominator}")
        math(EXPR height "(${height} * ${numerator} + ${denominator} - 1) / ${denominator}")
        list(APPEND expected "${folder}${name}:${width}:${height}:${colour_type}")
    endforeach()
endforeach()

set(failures "")
macro(fail message)
    list(APPEND failures "${message}")
endmacro()

file(REMOVE_RECURSE "${OUTPUT}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the generator failed (${status}): ${errors}")
endif()

set(names "")
foreach(entry IN LISTS expected)
    string(REPLACE ":" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 width)
    list(GET fields 2 height)
    list(GET fields 3 colour_type)
    list(APPEND names "${name}.png")
    set(committed "${COMMITTED}/${name}.png")
    set(redrawn "${OUTPUT}/${name}.png")

    if(NOT EXISTS "${committed}")
        fail("${name}.png is not committed")
        continue()
    endif()
    if(NOT EXISTS "${redrawn}")
        fail("the generator did not draw ${name}.png")
    else()
        file(SHA256 "${committed}" committed_hash)
        file(SHA256 "${redrawn}" redrawn_hash)
        if(NOT committed_hash STREQUAL redrawn_hash)
            fail("${name}.png differs from a fresh drawing (run the quolvet_redraw_assets target)")
        endif()
    endif()

    # The PNG header: width and height as 4-byte big-endian numbers from byte 16, then bit
    # depth and colour type.
    file(READ "${committed}" header LIMIT 26 HEX)
    string(SUBSTRING "${header}" 32 8 width_hex)
    string(SUBSTRING "${header}" 40 8 height_hex)
    string(SUBSTRING "${header}" 50 2 type_hex)
    math(EXPR actual_width "0x${width_hex}")
    math(EXPR actual_height "0x${height_hex}")
    math(EXPR actual_type "0x${type_hex}")
    if(NOT actual_width EQUAL width OR NOT actual_height EQUAL height)
        fail("${name}.png is ${actual_width}x${actual_height}, not ${width}x${height}")
    endif()
    if(NOT actual_type EQUAL colour_type)
        fail("${name}.png has PNG colour type ${actual_type}, not ${colour_type}")
    endif()
endforeach()

file(GLOB_RECURSE drawn RELATIVE "${OUTPUT}" "${OUTPUT}/*.png")
foreach(file IN LISTS drawn)
    if(NOT file IN_LIST names)
        fail("the generator draws ${file}, which the game does not know")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " report)
    message(FATAL_ERROR "bitmap check failed:\n  ${report}")
endif()
list(LENGTH names count)
message(STATUS "all ${count} bitmaps reproduce at their sizes")
