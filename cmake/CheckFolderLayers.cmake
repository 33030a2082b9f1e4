cmake_minimum_required(VERSION 3.25)

# Fails when a source under SRC_DIR includes a folder it may not build on.
#
# Each folder of src/ names the folders right below it; it may also use everything those
# may use. A folder's ui/ and qt/ follow the folder's rule, and a core source never
# includes a ui/ or qt/ header. A new folder needs its line here before it builds.
set(layer_common "")
set(layer_platform common)
set(layer_table platform)
set(layer_settings table)              # the options file
set(layer_printing settings)
set(layer_masterdata printing)
set(layer_help printing)
set(layer_download masterdata)         # the drug lists arrive in the master data
set(layer_texts masterdata)            # letters and notes
set(layer_bookkeeping masterdata)      # journals, VAT return
set(layer_stock masterdata)            # medication stock books, bookings from cards and records
set(layer_cards bookkeeping)           # record cards hand their bookings down
set(layer_appointments texts)
set(layer_dispensing cards appointments)  # dispensing records: card take-overs, the date dialog
set(layer_dunning cards texts)         # reminder letters and batch runs over the registers
set(layer_drugs cards texts)           # dispensing records and stock
set(layer_shell ALL)                   # the application shell: every folder listed above
set(layer_app shell)

# Bottom to top; ALL stands for every folder before the one that names it.
set(folders common platform table settings printing masterdata help download texts
            stock bookkeeping cards appointments dispensing dunning drugs shell app)

function(layer_below folder out)
  set(below ${layer_${folder}})
  if(below STREQUAL "ALL")
    list(FIND folders ${folder} at)
    list(SUBLIST folders 0 ${at} below)
  endif()
  set(${out} "${below}" PARENT_SCOPE)
endfunction()

function(layer_closure folder out)
  layer_below(${folder} todo)
  set(result "")
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST result)
      list(APPEND result ${next})
      layer_below(${next} more)
      list(APPEND todo ${more})
    endif()
  endwhile()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

foreach(folder ${folders})
  layer_closure(${folder} allowed_${folder})
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SRC_DIR} ${SRC_DIR}/*.h ${SRC_DIR}/*.cpp)
list(SORT sources)
set(bad "")
foreach(rel ${sources})
  if(NOT rel MATCHES "^([^/]+)/")
    continue()
  endif()
  set(folder ${CMAKE_MATCH_1})
  if(NOT folder IN_LIST folders)
    list(APPEND bad "src/${rel}: the folder ${folder}/ has no place yet; give it one in cmake/CheckFolderLayers.cmake")
    continue()
  endif()
  set(gui FALSE)
  if(rel MATCHES "^[^/]+/(ui|qt)/" OR folder STREQUAL "app")
    set(gui TRUE)
  endif()
  file(STRINGS ${SRC_DIR}/${rel} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/[^\"]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" target "${line}")
    string(REGEX REPLACE "/.*" "" used "${target}")
    if(NOT used IN_LIST folders)
      continue()
    endif()
    if(NOT used STREQUAL folder AND NOT used IN_LIST allowed_${folder})
      string(REPLACE ";" " " may "${allowed_${folder}}")
      list(APPEND bad "src/${rel} includes \"${target}\": ${folder}/ may use only ${may}")
    elseif(NOT gui AND target MATCHES "^[^/]+/(ui|qt)/")
      list(APPEND bad "src/${rel} includes \"${target}\": core sources include no ui/ or qt/ header")
    endif()
  endforeach()
endforeach()

if(bad)
  string(REPLACE ";" "\n  " bad "${bad}")
  message(FATAL_ERROR "Include against the folder layers (cmake/CheckFolderLayers.cmake):\n  ${bad}")
endif()
