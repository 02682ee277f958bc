# The words of the dedication screen, chosen when the program is built. They
# are read from a UTF-8 text file (resources/greeting.example.txt holds the
# default words), checked against what the window can show, converted to GBK
# with iconv and written as a header of the build tree. Bad input stops the
# configure step before anything is written, so an earlier build stays as it
# was.

set(FIREWORKS_RECIPIENT "" CACHE STRING
    "Who the greeting is for (UTF-8): replaces XXX in the second dedication line; empty keeps XXX")
set(FIREWORKS_GREETING_FILE "" CACHE FILEPATH
    "UTF-8 text file with the words of the dedication screen (see resources/greeting.example.txt); empty for the default words")

set(GREETING_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
include_directories(${GREETING_GENERATED_DIR})

# Text widths in pixels of the dedication's Kai face, measured under Wine at
# the text heights 0 to 49 that the animation steps through (height 0 gives
# the face's default of 16 pixels): the widest of all GBK's double-byte
# characters (a few symbols are a little wider than the ideographs) and the
# widest ASCII character. A line's width is the sum of its characters' widths.
set(GREETING_DOUBLE_WIDTHS
    16 2 3 4 5 5 6 7 8 9 10 11 12 13 14 16 16 16 17 18 19 20 21 22 23
    24 25 25 26 27 28 29 30 31 32 33 34 34 35 36 38 39 40 41 42 43 44 45 45 46)
set(GREETING_SINGLE_WIDTHS
    9 2 2 3 3 3 4 4 5 5 6 6 7 7 8 9 9 9 10 10 11 11 11 12 12
    13 13 13 14 14 15 15 16 16 17 17 17 17 18 18 20 20 21 21 21 22 23 23 23 24)
# Where the second dedication line starts at each animation step; the first
# line starts 130 pixels further left.
set(GREETING_STEP_X
    600 618 637 655 673 690 705 720 733 745 755 764 771 776 779 780 779 776 771 764 755 745 733 720 705
    689 673 655 637 618 600 582 563 545 527 510 495 480 467 455 445 436 429 424 421 420 421 424 429 436)
set(GREETING_FIRST_LINE_SHIFT 130)
set(GREETING_WINDOW_WIDTH 1200)
set(GREETING_PAGE_HEIGHT 25)
set(GREETING_PAGE_LEFT 200)
set(GREETING_WISH_LEFT 500)
set(GREETING_TEXT_COUNT 11)

function(_greeting_fail where reason)
    message(FATAL_ERROR "${where}: ${reason}")
endfunction()

# "U+4E2D" for a code point.
function(_greeting_code_name code out)
    math(EXPR hex "${code}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${hex}" 2 -1 hex)
    string(TOUPPER "${hex}" hex)
    string(LENGTH "${hex}" length)
    while(length LESS 4)
        string(PREPEND hex "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "U+${hex}" PARENT_SCOPE)
endfunction()

# Decodes one line of UTF-8 given as hex byte pairs ("e8 b0 a8 ") with iconv.
# Sets <prefix>_CODES to its code points and <prefix>_CHARS to each
# character's bytes in decimal, comma-separated; fails at the first byte that
# is not UTF-8.
function(_greeting_decode hex where prefix)
    string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${hex}")
    # A character starts at every byte that is not a continuation byte.
    set(values "")
    set(chars "")
    set(char "")
    foreach(byte IN LISTS bytes)
        math(EXPR value "0x${byte}")
        if(value EQUAL 0)
            list(LENGTH chars column)
            math(EXPR column "${column} + 1")
            _greeting_fail("${where}" "character ${column} is the control character U+0000, which cannot be drawn")
        endif()
        list(APPEND values ${value})
        if(value LESS 128 OR value GREATER 191)
            if(NOT char STREQUAL "")
                list(APPEND chars ${char})
            endif()
            set(char "${value}")
        else()
            string(APPEND char ",${value}")
        endif()
    endforeach()
    if(NOT char STREQUAL "")
        list(APPEND chars ${char})
    endif()

    set(work ${CMAKE_BINARY_DIR}/CMakeFiles/greeting)
    file(MAKE_DIRECTORY ${work})
    set(text "")
    if(values)
        string(ASCII ${values} text)
    endif()
    file(WRITE ${work}/line.txt "${text}")
    execute_process(COMMAND ${GREETING_ICONV} -f UTF-8 -t UTF-32BE
                    INPUT_FILE ${work}/line.txt OUTPUT_FILE ${work}/line.utf32
                    RESULT_VARIABLE result ERROR_VARIABLE error)
    file(READ ${work}/line.utf32 utf32 HEX)
    string(REGEX MATCHALL "[0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f]" units "${utf32}")
    set(codes "")
    foreach(unit IN LISTS units)
        math(EXPR code "0x${unit}")
        list(APPEND codes ${code})
    endforeach()
    if(NOT result EQUAL 0)
        # iconv converts up to the first bad sequence and names its byte offset.
        list(LENGTH codes column)
        math(EXPR column "${column} + 1")
        if(error MATCHES "position ([0-9]+)")
            list(GET bytes ${CMAKE_MATCH_1} byte)
            _greeting_fail("${where}" "not valid UTF-8: byte 0x${byte} in character ${column}")
        endif()
        _greeting_fail("${where}" "not valid UTF-8: the line ends inside character ${column}")
    endif()
    set(column 0)
    foreach(code IN LISTS codes)
        math(EXPR column "${column} + 1")
        if(code LESS 32 OR code EQUAL 127 OR (code GREATER_EQUAL 128 AND code LESS 160))
            _greeting_code_name(${code} name)
            _greeting_fail("${where}" "character ${column} is the control character ${name}, which cannot be drawn (write spaces instead of tabs)")
        endif()
    endforeach()
    set(${prefix}_CODES "${codes}" PARENT_SCOPE)
    set(${prefix}_CHARS "${chars}" PARENT_SCOPE)
endfunction()

# Converts the decoded characters to GBK with iconv. Sets <out> to the GBK
# bytes as hex pairs; fails naming the first character that GBK lacks.
function(_greeting_to_gbk chars codes where out)
    set(work ${CMAKE_BINARY_DIR}/CMakeFiles/greeting)
    file(MAKE_DIRECTORY ${work})
    set(all "")
    foreach(char IN LISTS chars)
        string(APPEND all ",${char}")
    endforeach()
    set(text "")
    if(all)
        string(SUBSTRING "${all}" 1 -1 all)
        string(REPLACE "," ";" all "${all}")
        string(ASCII ${all} text)
    endif()
    file(WRITE ${work}/utf8.txt "${text}")
    execute_process(COMMAND ${GREETING_ICONV} -f UTF-8 -t GBK
                    INPUT_FILE ${work}/utf8.txt OUTPUT_FILE ${work}/gbk.bin
                    RESULT_VARIABLE result ERROR_QUIET)
    if(NOT result EQUAL 0)
        set(column 0)
        foreach(char IN LISTS chars)
            math(EXPR column "${column} + 1")
            string(REPLACE "," ";" bytes "${char}")
            string(ASCII ${bytes} one)
            file(WRITE ${work}/utf8.txt "${one}")
            execute_process(COMMAND ${GREETING_ICONV} -f UTF-8 -t GBK
                            INPUT_FILE ${work}/utf8.txt OUTPUT_QUIET ERROR_QUIET RESULT_VARIABLE result)
            if(NOT result EQUAL 0)
                math(EXPR index "${column} - 1")
                list(GET codes ${index} code)
                _greeting_code_name(${code} name)
                _greeting_fail("${where}" "character ${column}, \"${one}\" (${name}), cannot be written in GBK, the only encoding the program's text functions are given")
            endif()
        endforeach()
        _greeting_fail("${where}" "iconv could not convert the line to GBK")
    endif()
    file(READ ${work}/gbk.bin gbk HEX)
    string(REGEX REPLACE "(..)" "\\1 " gbk "${gbk}")
    set(${out} "${gbk}" PARENT_SCOPE)
endfunction()

# Counts the characters of a GBK line by their width class: a lead byte of
# 0x80 or more starts a double-byte character (0x80 alone, the euro sign,
# counts as wide too), anything else is one ASCII character.
function(_greeting_width_classes gbk doubles singles)
    string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${gbk}")
    set(wide 0)
    set(narrow 0)
    set(trail OFF)
    foreach(byte IN LISTS bytes)
        math(EXPR value "0x${byte}")
        if(trail)
            set(trail OFF)
        elseif(value GREATER_EQUAL 129)
            math(EXPR wide "${wide} + 1")
            set(trail ON)
        elseif(value EQUAL 128)
            math(EXPR wide "${wide} + 1")
        else()
            math(EXPR narrow "${narrow} + 1")
        endif()
    endforeach()
    set(${doubles} ${wide} PARENT_SCOPE)
    set(${singles} ${narrow} PARENT_SCOPE)
endfunction()

# The page lines and the wish stand still at text height 25.
function(_greeting_check_page_width gbk left what where)
    _greeting_width_classes("${gbk}" wide narrow)
    list(GET GREETING_DOUBLE_WIDTHS ${GREETING_PAGE_HEIGHT} wideWidth)
    list(GET GREETING_SINGLE_WIDTHS ${GREETING_PAGE_HEIGHT} narrowWidth)
    math(EXPR width "${wide} * ${wideWidth} + ${narrow} * ${narrowWidth}")
    math(EXPR limit "${GREETING_WINDOW_WIDTH} - ${left}")
    if(width GREATER limit)
        _greeting_fail("${where}" "${what} is ${width} pixels wide at its text height of ${GREETING_PAGE_HEIGHT}, but only ${limit} fit between x = ${left} and the window's right edge (a Chinese character takes ${wideWidth} pixels, a Latin letter up to ${narrowWidth})")
    endif()
endfunction()

# A dedication line moves and grows with the animation: it must stay inside
# the window at every step.
function(_greeting_check_dedication_width gbk shift what where)
    _greeting_width_classes("${gbk}" wide narrow)
    set(worstRight 0)
    foreach(step RANGE 49)
        list(GET GREETING_DOUBLE_WIDTHS ${step} wideWidth)
        list(GET GREETING_SINGLE_WIDTHS ${step} narrowWidth)
        list(GET GREETING_STEP_X ${step} x)
        math(EXPR right "${x} - ${shift} + ${wide} * ${wideWidth} + ${narrow} * ${narrowWidth}")
        if(right GREATER worstRight)
            set(worstRight ${right})
            set(worstStep ${step})
        endif()
    endforeach()
    if(worstRight GREATER GREETING_WINDOW_WIDTH)
        _greeting_fail("${where}" "${what} would run past the window's right edge (x = ${GREETING_WINDOW_WIDTH}) while it moves and grows: at animation step ${worstStep} of 0-49 it reaches x = ${worstRight}")
    endif()
endfunction()

# The C string literal of GBK bytes.
function(_greeting_literal gbk out)
    string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${gbk}")
    set(literal "\"")
    foreach(byte IN LISTS bytes)
        string(TOUPPER "${byte}" byte)
        string(APPEND literal "\\x${byte}")
    endforeach()
    string(APPEND literal "\"")
    set(${out} "${literal}" PARENT_SCOPE)
endfunction()

find_program(GREETING_ICONV iconv)
if(NOT GREETING_ICONV)
    message(FATAL_ERROR "The iconv tool is needed to convert the greeting's words to GBK (Debian: libc-bin).")
endif()

if(FIREWORKS_GREETING_FILE)
    set(greetingFile "${FIREWORKS_GREETING_FILE}")
    set(greetingSource "FIREWORKS_GREETING_FILE ${greetingFile}")
else()
    set(greetingFile "${CMAKE_SOURCE_DIR}/resources/greeting.example.txt")
    set(greetingSource "${greetingFile}")
endif()
if(NOT EXISTS "${greetingFile}" OR IS_DIRECTORY "${greetingFile}")
    _greeting_fail("${greetingFile}" "no such file (FIREWORKS_GREETING_FILE names the greeting file)")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${greetingFile}")

# The file as hex pairs, split into lines without CMake ever seeing its
# semicolons or backslashes. A byte-order mark and Windows line ends are
# what a Windows editor may write; both are dropped.
file(READ "${greetingFile}" greetingHex HEX)
string(REGEX REPLACE "^efbbbf" "" greetingHex "${greetingHex}")
string(REGEX REPLACE "(..)" "\\1 " greetingHex "${greetingHex}")
string(REPLACE "0a " ";L" greetingLines "L${greetingHex}")
list(GET greetingLines -1 lastLine)
if(lastLine STREQUAL "L")
    list(REMOVE_AT greetingLines -1)
endif()

set(textNames
    "the first dedication line" "the second dedication line"
    "page line 1" "page line 2" "page line 3" "page line 4"
    "page line 5" "page line 6" "page line 7" "page line 8"
    "the closing wish")
set(lineNumber 0)
set(textCount 0)
foreach(line IN LISTS greetingLines)
    math(EXPR lineNumber "${lineNumber} + 1")
    string(SUBSTRING "${line}" 1 -1 line)
    string(REGEX REPLACE "0d $" "" line "${line}")
    if(line MATCHES "^23 ")
        continue()
    endif()
    if(textCount EQUAL GREETING_TEXT_COUNT)
        _greeting_fail("${greetingFile}:${lineNumber}" "too many lines: the file holds ${GREETING_TEXT_COUNT} texts (two dedication lines, eight page lines, the closing wish) and this is a 12th (lines starting with # are notes)")
    endif()
    set(text${textCount} "${line}")
    set(textLine${textCount} ${lineNumber})
    math(EXPR textCount "${textCount} + 1")
endforeach()
if(textCount LESS GREETING_TEXT_COUNT)
    list(GET textNames ${textCount} missing)
    if(lineNumber EQUAL 0)
        set(lineNumber 1)
    endif()
    _greeting_fail("${greetingFile}:${lineNumber}" "too few lines: the file ends after ${textCount} texts, but it needs ${GREETING_TEXT_COUNT} (two dedication lines, eight page lines, the closing wish); ${missing} is missing")
endif()

if(NOT FIREWORKS_RECIPIENT STREQUAL "")
    string(HEX "${FIREWORKS_RECIPIENT}" recipientHex)
    string(REGEX REPLACE "(..)" "\\1 " recipientHex "${recipientHex}")
    # Checked on its own first, so that a bad character is blamed on the
    # variable rather than on the file's line.
    _greeting_decode("${recipientHex}" "FIREWORKS_RECIPIENT" recipient)
    _greeting_to_gbk("${recipient_CHARS}" "${recipient_CODES}" "FIREWORKS_RECIPIENT" recipientGbk)
    if(NOT text1 MATCHES "58 58 58 ")
        _greeting_fail("${greetingFile}:${textLine1}" "FIREWORKS_RECIPIENT is set, but the second dedication line has no XXX to put the name in")
    endif()
    string(REPLACE "58 58 58 " "${recipientHex}" text1 "${text1}")
    set(recipientNote " with FIREWORKS_RECIPIENT put in place of XXX")
endif()

set(generated "// The words of the dedication screen in GBK (code page 936), written by the\n")
string(APPEND generated "// configure step from the greeting file. Do not edit: change the file.\n#pragma once\n\n")
set(macroNames
    GREETING_DEDICATION_TO GREETING_DEDICATION_NAME
    GREETING_PAGE_LINE_1 GREETING_PAGE_LINE_2 GREETING_PAGE_LINE_3 GREETING_PAGE_LINE_4
    GREETING_PAGE_LINE_5 GREETING_PAGE_LINE_6 GREETING_PAGE_LINE_7 GREETING_PAGE_LINE_8
    GREETING_CLOSING_WISH)
foreach(index RANGE 10)
    list(GET textNames ${index} what)
    list(GET macroNames ${index} macro)
    set(where "${greetingFile}:${textLine${index}}")
    if(index EQUAL 1 AND recipientNote)
        set(what "${what}${recipientNote}")
    endif()
    _greeting_decode("${text${index}}" "${where}" line)
    _greeting_to_gbk("${line_CHARS}" "${line_CODES}" "${where}" gbk)
    if(index EQUAL 0)
        _greeting_check_dedication_width("${gbk}" ${GREETING_FIRST_LINE_SHIFT} "${what}" "${where}")
    elseif(index EQUAL 1)
        _greeting_check_dedication_width("${gbk}" 0 "${what}" "${where}")
    elseif(index EQUAL 10)
        _greeting_check_page_width("${gbk}" ${GREETING_WISH_LEFT} "${what}" "${where}")
    else()
        _greeting_check_page_width("${gbk}" ${GREETING_PAGE_LEFT} "${what}" "${where}")
    endif()
    _greeting_literal("${gbk}" literal)
    string(APPEND generated "#define ${macro} ${literal}\n")
endforeach()

# Written only when the words change, so that an unchanged configure step
# rebuilds nothing.
file(WRITE ${CMAKE_BINARY_DIR}/CMakeFiles/greeting/greeting_texts.h "${generated}")
configure_file(${CMAKE_BINARY_DIR}/CMakeFiles/greeting/greeting_texts.h
               ${GREETING_GENERATED_DIR}/greeting_texts.h COPYONLY)
# The measured widths, for the test that holds them against the real font.
string(JOIN ", " doubleWidths ${GREETING_DOUBLE_WIDTHS})
string(JOIN ", " singleWidths ${GREETING_SINGLE_WIDTHS})
string(JOIN ", " stepX ${GREETING_STEP_X})
file(WRITE ${CMAKE_BINARY_DIR}/CMakeFiles/greeting/greeting_widths.h
"// The text widths that the configure step checks the greeting's lines with.
#pragma once

constexpr int kGreetingSteps = 50;
constexpr int kGreetingDoubleWidths[kGreetingSteps] = {${doubleWidths}};
constexpr int kGreetingSingleWidths[kGreetingSteps] = {${singleWidths}};
constexpr int kGreetingStepX[kGreetingSteps] = {${stepX}};
constexpr int kGreetingFirstLineShift = ${GREETING_FIRST_LINE_SHIFT};
constexpr int kGreetingWindowWidth = ${GREETING_WINDOW_WIDTH};
constexpr int kGreetingPageHeight = ${GREETING_PAGE_HEIGHT};
constexpr int kGreetingPageLeft = ${GREETING_PAGE_LEFT};
constexpr int kGreetingWishLeft = ${GREETING_WISH_LEFT};
")
configure_file(${CMAKE_BINARY_DIR}/CMakeFiles/greeting/greeting_widths.h
               ${GREETING_GENERATED_DIR}/greeting_widths.h COPYONLY)
message(STATUS "Greeting words: ${greetingSource}${recipientNote}")
