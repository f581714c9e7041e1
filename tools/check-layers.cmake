# The windows' folders (src/ui/*) in layers, lowest first; folders of one
# layer, separated by commas, are peers. A file may include its own folder's
# headers and those of lower layers, never a higher layer's nor a peer's:
# so no include runs back up and no two folders include each other (any
# cycle between folders has an edge that breaks this).
#
#   cmake -DROOT=<source tree> [-DLAYERS=<order>] -P tools/check-layers.cmake
#
# Lists every include from one folder into another and fails on each that
# breaks the order, and on a folder the order does not place.
if(NOT DEFINED LAYERS)
  set(LAYERS "common;trends;exercises,mimic;analysis;shell")
endif()
set(rank 0)
foreach(layer IN LISTS LAYERS)
  string(REPLACE "," ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

set(ui ${ROOT}/src/ui)
file(GLOB_RECURSE sources RELATIVE ${ui} ${ui}/*/*.h ${ui}/*/*.cpp ${ui}/*/*.in)
list(SORT sources)
set(faults 0)
foreach(source IN LISTS sources)
  string(REGEX REPLACE "/.*" "" from "${source}")
  if(NOT DEFINED rank_${from})
    message("src/ui/${source}: folder '${from}' has no place in the layers")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  # "ui/folder/..." or, from a file of a folder, "../folder/...".
  file(STRINGS ${ui}/${source} includes
    REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](ui|\\.\\.)/[^/]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"<]*[\"<](ui|\\.\\.)/([^/]+)/([^\">]*).*" "\\2;\\3" target
      "${line}")
    list(GET target 0 to)
    list(GET target 1 header)
    if(to STREQUAL from)
      continue()
    endif()
    set(edge "src/ui/${source} -> ui/${to}/${header}")
    if(NOT DEFINED rank_${to})
      message("${edge}: folder '${to}' has no place in the layers")
    elseif(rank_${to} LESS rank_${from})
      message("${edge}")
      continue()
    elseif(rank_${to} EQUAL rank_${from})
      message("${edge}: '${from}' and '${to}' are peers")
    else()
      message("${edge}: '${to}' is a higher layer than '${from}'")
    endif()
    math(EXPR faults "${faults} + 1")
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} fault(s) in the layers ${LAYERS}")
endif()
