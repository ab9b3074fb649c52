# Checks the product's customisable inputs, and turns the pictures a designer
# delivers into the ones the launcher's resources take; each failure stops with
# one line that names the file (or value) and what is wrong with it.
#
# Included by CMakeLists.txt, and runnable alone for the tests:
#   cmake -DAUTORUN_BACKGROUND=... -DAUTORUN_ICON=... -DAUTORUN_VERSION=...
#         -DAUTORUN_VOLUME_LABEL=... [-DAUTORUN_SETUP=...] [-DAUTORUN_MANUAL=...]
#         -DAUTORUN_GENERATED=<folder for the converted picture and icon>
#         -P cmake/DiscInputs.cmake

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    cmake_minimum_required(VERSION 3.20)
endif()
set(_autorun_artwork ${CMAKE_CURRENT_LIST_DIR}/../scripts/artwork)

function(_autorun_fail text)
    message(FATAL_ERROR "${text}")
endfunction()

# Little-endian unsigned number of `bytes` bytes at `offset` of a hex dump.
function(_autorun_read_le hex offset bytes out)
    set(value 0)
    math(EXPR last "${bytes} - 1")
    foreach(i RANGE ${last} 0 -1)
        math(EXPR at "(${offset} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        math(EXPR value "${value} * 256 + 0x${byte}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
endfunction()

function(autorun_check_file what path)
    if(NOT path OR NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
        _autorun_fail("${what} '${path}': no such file")
    endif()
endfunction()

# Runs scripts/artwork: its refusal stops here, its notes are shown as they are.
function(_autorun_artwork)
    execute_process(COMMAND ${_autorun_artwork} ${ARGN} RESULT_VARIABLE failed ERROR_VARIABLE lines)
    string(STRIP "${lines}" lines)
    if(failed)
        _autorun_fail("${lines}")
    elseif(lines)
        message(NOTICE "${lines}")
    endif()
endfunction()

# The background: a picture of exactly 640 by 400 pixels, written to `bitmap`
# as the 24-bit BMP the resource takes.
function(autorun_background_bitmap path bitmap)
    autorun_check_file("background" "${path}")
    _autorun_artwork(background "${path}" "${bitmap}")
endfunction()

# The icon: one ICO file as it is, or PNG images made into `made`; the icon
# file to use goes into `result`.
function(autorun_icon_file inputs made result)
    list(LENGTH inputs count)
    if(count EQUAL 0)
        autorun_check_file("icon" "")
    endif()
    foreach(path IN LISTS inputs)
        autorun_check_file("icon" "${path}")
    endforeach()
    if(count EQUAL 1)
        file(READ "${inputs}" hex LIMIT 4 HEX)
        if(hex STREQUAL "00000100")
            autorun_check_icon("${inputs}")
            set(${result} "${inputs}" PARENT_SCOPE)
            return()
        endif()
    endif()
    _autorun_artwork(icon "${made}" ${inputs})
    autorun_check_icon("${made}")
    set(${result} "${made}" PARENT_SCOPE)
endfunction()

# The icon: 16, 24, 32, 48 and 256 pixel images, all at 32 bits per pixel.
function(autorun_check_icon path)
    file(READ "${path}" hex LIMIT 6 HEX)
    if(NOT hex MATCHES "^00000100")
        _autorun_fail("icon '${path}': not an ICO file")
    endif()
    _autorun_read_le("${hex}" 4 2 count)
    math(EXPR directory "6 + 16 * ${count}")
    file(READ "${path}" hex LIMIT ${directory} HEX)
    set(sizes "")
    if(count GREATER 0)
        math(EXPR last "${count} - 1")
        foreach(i RANGE ${last})
            math(EXPR entry "6 + 16 * ${i}")
            _autorun_read_le("${hex}" ${entry} 1 size)
            math(EXPR at "${entry} + 6")
            _autorun_read_le("${hex}" ${at} 2 bits)
            if(size EQUAL 0)
                set(size 256)
            endif()
            if(NOT bits EQUAL 32)
                _autorun_fail("icon '${path}': its ${size}-pixel image has ${bits} bits per pixel, must be 32")
            endif()
            list(APPEND sizes ${size})
        endforeach()
    endif()
    foreach(required 16 24 32 48 256)
        if(NOT required IN_LIST sizes)
            _autorun_fail("icon '${path}': no ${required}-pixel image (needs 16, 24, 32, 48 and 256)")
        endif()
    endforeach()
endfunction()

# The product version: four numbers of 0 to 65535, as in 5.2.0.0.
function(autorun_check_version version)
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        _autorun_fail("version '${version}': must be four numbers such as 5.2.0.0")
    endif()
    foreach(part ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
        if(part GREATER 65535)
            _autorun_fail("version '${version}': ${part} is larger than 65535")
        endif()
    endforeach()
endfunction()

# The volume label goes into the ISO 9660 volume descriptor, which allows only
# d-characters (A-Z, 0-9 and _), and into the Joliet one, which Windows shows
# and which holds at most 16 characters.
function(autorun_check_volume_label label)
    string(LENGTH "${label}" length)
    if(length EQUAL 0)
        _autorun_fail("AUTORUN_VOLUME_LABEL: empty; a disc needs a label")
    elseif(NOT label MATCHES "^[A-Z0-9_]+$")
        _autorun_fail("AUTORUN_VOLUME_LABEL '${label}': only A-Z, 0-9 and _ are allowed (ISO 9660 d-characters)")
    elseif(length GREATER 16)
        _autorun_fail("AUTORUN_VOLUME_LABEL '${label}': ${length} characters, at most 16 fit Joliet's label")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    autorun_check_volume_label("${AUTORUN_VOLUME_LABEL}")
    autorun_background_bitmap("${AUTORUN_BACKGROUND}" "${AUTORUN_GENERATED}/background.bmp")
    autorun_icon_file("${AUTORUN_ICON}" "${AUTORUN_GENERATED}/Autorun.ico" icon)
    autorun_check_version("${AUTORUN_VERSION}")
    if(AUTORUN_SETUP)
        autorun_check_file("installer" "${AUTORUN_SETUP}")
    endif()
    if(AUTORUN_MANUAL)
        autorun_check_file("manual" "${AUTORUN_MANUAL}")
    endif()
endif()
