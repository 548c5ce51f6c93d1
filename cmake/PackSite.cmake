# cmake -DTOOL=<orvel-tool> -DPHOTOS=<nature folder> -DOUT=<site folder> -DTHUMB=<thumb folder> -P PackSite.cmake
#
# Makes the jigsaw download site that any static web server can serve, and
# the catalogue the download window lists it by, from the pictures of
# Debian's mate-backgrounds package that are not sample jigsaws: the other
# nature photographs and two of its illustrations (the package's other
# illustrations are white shapes on a transparent ground, blank as jigsaws).
# Done once: a site that is already there is kept (delete OUT to make it again).

set(nature Blinds.jpg Garden.jpg GreenMeadow.jpg Wood.jpg)
set(abstract Elephants.jpg Flow.png)

if(EXISTS ${OUT}/orvel/jigsaws_zent/info.dat AND EXISTS ${THUMB}/jiglist.txt)
  return()
endif()
get_filename_component(backgrounds ${PHOTOS} DIRECTORY)
set(pictures "")
foreach(name ${nature})
  if(EXISTS ${PHOTOS}/${name})
    list(APPEND pictures ${PHOTOS}/${name})
  endif()
endforeach()
foreach(name ${abstract})
  if(EXISTS ${backgrounds}/abstract/${name})
    list(APPEND pictures ${backgrounds}/abstract/${name})
  endif()
endforeach()
if(NOT pictures)
  message(STATUS "Download site: no pictures in ${backgrounds} (install mate-backgrounds); none made")
  return()
endif()
execute_process(COMMAND ${TOOL} pack-site ${OUT} ${pictures} --thumb ${THUMB}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Making the download site in ${OUT} failed")
endif()
