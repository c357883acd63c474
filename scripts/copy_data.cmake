# Copies each shipped file into DST unless it is already there.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f IN LISTS files)
  if(NOT EXISTS ${DST}/${f})
    get_filename_component(d ${DST}/${f} DIRECTORY)
    file(MAKE_DIRECTORY ${d})
    file(COPY ${SRC}/${f} DESTINATION ${d})
  endif()
endforeach()
