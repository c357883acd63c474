# The documents that ship with the programs: the manual pages (written from
# man/pages.man, in English and Russian), the copyright file and the
# changelog, compressed as Debian installs them.
#
#   share/man/man1/verbonik.1.gz, verbonik-console.1.gz    English
#   share/man/ru/man1/verbonik.1.gz, verbonik-console.1.gz Russian
#   share/doc/verbonik/copyright, changelog.gz

find_program(VB_GZIP gzip)
set(_man_out ${CMAKE_BINARY_DIR}/man)
set(_man_suffix .1)
if(VB_GZIP)
  set(_man_suffix .1.gz)
endif()
set(_man_pages)
foreach(_dir man1 ru/man1)
  foreach(_name verbonik verbonik-console)
    list(APPEND _man_pages ${_man_out}/${_dir}/${_name}${_man_suffix})
  endforeach()
endforeach()
add_custom_command(
  OUTPUT ${_man_pages}
  COMMAND ${CMAKE_COMMAND} -DSRC=${PROJECT_SOURCE_DIR}/man/pages.man -DOUT=${_man_out}
          -DVERSION=${PROJECT_VERSION} -DGZIP=${VB_GZIP}
          -P ${PROJECT_SOURCE_DIR}/cmake/man_pages.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/man/pages.man ${PROJECT_SOURCE_DIR}/cmake/man_pages.cmake
  COMMENT "Writing the manual pages")

set(_changelog ${CMAKE_BINARY_DIR}/changelog)
if(VB_GZIP)
  set(_changelog ${CMAKE_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${_changelog}
    COMMAND ${VB_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${_changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the changelog")
else()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${_changelog} COPYONLY)
endif()
add_custom_target(vb_docs ALL DEPENDS ${_man_pages} ${_changelog})

foreach(_name verbonik verbonik-console)
  if(_name STREQUAL "verbonik" AND NOT TARGET verbonik)
    continue()
  endif()
  foreach(_dir man1 ru/man1)
    install(FILES ${_man_out}/${_dir}/${_name}${_man_suffix} DESTINATION share/man/${_dir})
  endforeach()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${_changelog}
        DESTINATION share/doc/verbonik)
