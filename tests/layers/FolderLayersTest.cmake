# Runs the folder layer check (CHECK) on small trees under WORK_DIR: a tree of allowed
# includes passes; each forbidden include is refused with the file and include named.
cmake_minimum_required(VERSION 3.25)

# Each further argument is "path=include": the file gets that include line.
function(check_tree name expected)
  set(root ${WORK_DIR}/${name})
  file(REMOVE_RECURSE ${root})
  foreach(entry ${ARGN})
    string(REPLACE "=" ";" parts "${entry}")
    list(GET parts 0 path)
    list(GET parts 1 include)
    get_filename_component(dir ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(APPEND ${root}/${path} "#include \"${include}\"\n")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${root} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expected STREQUAL "")
    if(NOT rc EQUAL 0)
      message(SEND_ERROR "${name}: allowed includes were refused:\n${out}")
    endif()
    return()
  endif()
  string(FIND "${out}" "${expected}" at)
  if(rc EQUAL 0)
    message(SEND_ERROR "${name}: the check let it pass")
  elseif(at LESS 0)
    message(SEND_ERROR "${name}: refused without naming \"${expected}\":\n${out}")
  endif()
endfunction()

check_tree(allowed ""
  "cards/CardA.cpp=masterdata/MasterSearch.h"
  "cards/CardA.cpp=bookkeeping/Journal.h"
  "cards/CardA.cpp=CardB.h"
  "cards/ui/Panel.cpp=masterdata/ui/TEditDlg.h"
  "masterdata/Search.cpp=settings/IniFile.h"
  "settings/TableFont.cpp=table/TSGrid.h"
  "texts/Letter.cpp=printing/TPrintStrList.h"
  "drugs/Stock.cpp=cards/CardFile.h"
  "drugs/Stock.cpp=texts/Letter.h"
  "dunning/Run.cpp=cards/CardFile.h"
  "dunning/Run.cpp=texts/Letter.h"
  "shell/ui/TForm1.cpp=appointments/ui/Calendar.h"
  "app/main.cpp=shell/ui/TForm1.h")

check_tree(upward "src/masterdata/MasterSearch.cpp includes \"cards/CardFile.h\""
  "masterdata/MasterSearch.cpp=cards/CardFile.h")
check_tree(into_shell "src/settings/Options.cpp includes \"shell/Workspaces.h\""
  "settings/Options.cpp=shell/Workspaces.h")
check_tree(sideways "src/texts/Letter.cpp includes \"cards/CardFile.h\""
  "texts/Letter.cpp=cards/CardFile.h")
check_tree(widget_in_core "src/cards/CardA.cpp includes \"cards/ui/KarteiPanel.h\""
  "cards/CardA.cpp=cards/ui/KarteiPanel.h")
check_tree(unplaced_folder "reports/ has no place"
  "reports/Run.cpp=cards/CardFile.h")
