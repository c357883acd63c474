# Writes the manual pages from their one source (see the notes at the top of
# man/pages.man), compressed as installed pages are:
#
#   cmake -DSRC=man/pages.man -DOUT=build/man -DVERSION=2.546 [-DGZIP=gzip]
#         -P cmake/man_pages.cmake
#
# gives OUT/man1/verbonik.1.gz, OUT/man1/verbonik-console.1.gz and the same
# under OUT/ru/man1. Without GZIP the pages are left uncompressed.

cmake_minimum_required(VERSION 3.25)

set(_pages gui verbonik console verbonik-console)
set(_languages en ru)

file(READ "${SRC}" _text)
# One list element a line: the characters CMake's lists treat specially are
# kept out of the way and put back on output.
string(REPLACE ";" "<vb-semicolon>" _text "${_text}")
string(REPLACE "[" "<vb-open>" _text "${_text}")
string(REPLACE "]" "<vb-close>" _text "${_text}")
string(REPLACE "\n" ";" _lines "${_text}")

foreach(_lang IN LISTS _languages)
  foreach(_i RANGE 0 2 2)
    list(GET _pages ${_i} _program)
    math(EXPR _j "${_i} + 1")
    list(GET _pages ${_j} _name)

    set(_out "")
    set(_started FALSE)
    set(_take FALSE)
    foreach(_line IN LISTS _lines)
      if(_line MATCHES "^@@")
        string(REGEX REPLACE "^@@ *" "" _words "${_line}")
        separate_arguments(_words UNIX_COMMAND "${_words}")
        set(_want_program ${_program})
        set(_want_lang ${_lang})
        foreach(_w IN LISTS _words)
          if(_w STREQUAL "gui" OR _w STREQUAL "console")
            set(_want_program ${_w})
          elseif(_w STREQUAL "en" OR _w STREQUAL "ru")
            set(_want_lang ${_w})
          else()
            message(FATAL_ERROR "${SRC}: unknown word '${_w}' in '${_line}'")
          endif()
        endforeach()
        set(_started TRUE)
        if(_want_program STREQUAL _program AND _want_lang STREQUAL _lang)
          set(_take TRUE)
        else()
          set(_take FALSE)
        endif()
      elseif(_started AND _take)
        string(APPEND _out "${_line}\n")
      endif()
    endforeach()

    string(REPLACE "<vb-semicolon>" ";" _out "${_out}")
    string(REPLACE "<vb-open>" "[" _out "${_out}")
    string(REPLACE "<vb-close>" "]" _out "${_out}")
    string(REPLACE "@VERSION@" "${VERSION}" _out "${_out}")
    string(REGEX REPLACE "\n+$" "\n" _out "${_out}")

    if(_lang STREQUAL "en")
      set(_dir "${OUT}/man1")
    else()
      set(_dir "${OUT}/${_lang}/man1")
    endif()
    file(MAKE_DIRECTORY "${_dir}")
    set(_page "${_dir}/${_name}.1")
    file(WRITE "${_page}" "${_out}")
    if(GZIP)
      # -n: no name or time stamp inside, so the same source gives the same bytes.
      execute_process(COMMAND "${GZIP}" -9 -n -f "${_page}" RESULT_VARIABLE _rc)
      if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${_page}")
      endif()
    endif()
  endforeach()
endforeach()
