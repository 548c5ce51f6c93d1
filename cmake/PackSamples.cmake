# cmake -DTOOL=<orvel-tool> -DPHOTOS=<folder> -DOUT=<data folder>/jigsaws -P PackSamples.cmake
#
# Packs the sample jigsaws from eight of the nature photographs of Debian's
# mate-backgrounds package (credited in data/credits.txt) and writes the list
# of installed jigsaws that start-up copies into the player's folder. A
# photograph that is not there is left out; without any the build goes on
# without samples. Jigsaws newer than their photograph and the tool are kept.

# file|description
set(samples
  "Aqua|Aqua: a drop falling into water. Photograph by Charles Barbin"
  "Dune|Dune: beach grass above the sea. Photograph by Marco Cogoni and Hylke Bons"
  "FreshFlower|Fresh Flower: an orange blossom. Photograph by Jens Ansorg"
  "LadyBird|Lady Bird: a ladybird among forget-me-nots. Photograph by Charles Barbin"
  "RainDrops|Rain Drops: drops on green leaves. Photograph by blackcombwhistler07"
  "Storm|Storm: clouds over a road. Photograph by Sergey Nazarov"
  "TwoWings|Two Wings: dandelion seeds before orange flowers. Photograph by Charles Barbin and Hylke Bons"
  "YellowFlower|Yellow Flower: a yellow blossom. Photograph by Charles Barbin")

set(list_text "")
set(missing "")
foreach(sample ${samples})
  string(REPLACE "|" ";" fields "${sample}")
  list(GET fields 0 stem)
  list(GET fields 1 description)
  set(photo ${PHOTOS}/${stem}.jpg)
  string(TOLOWER ${stem} name)
  set(jigsaw ${OUT}/${name}.orv)
  if(NOT EXISTS ${photo})
    list(APPEND missing ${stem})
  elseif(NOT EXISTS ${jigsaw} OR ${photo} IS_NEWER_THAN ${jigsaw} OR ${TOOL} IS_NEWER_THAN ${jigsaw})
    execute_process(COMMAND ${TOOL} pack ${photo} --out ${OUT} --description ${description}
      RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "Packing the sample jigsaw ${photo} failed")
    endif()
  endif()
  if(EXISTS ${jigsaw})
    string(APPEND list_text "${name}.orv\n")
  endif()
endforeach()

if(missing)
  list(JOIN missing ", " missing_text)
  message(STATUS "Sample jigsaws: not found in ${PHOTOS} (Debian package mate-backgrounds): ${missing_text}")
endif()
if(list_text STREQUAL "")
  message(STATUS "Sample jigsaws: none packed; the program starts without samples")
  return()
endif()
# Rewritten only when it changes, so that nothing depending on it rebuilds.
set(list_file ${OUT}/distjiglist.txt)
set(old_text "")
if(EXISTS ${list_file})
  file(READ ${list_file} old_text)
endif()
if(NOT old_text STREQUAL list_text)
  file(WRITE ${list_file} "${list_text}")
endif()
