# Feeds the module include check small trees, one broken rule each, and expects each to be refused
# with the offending file named, while a tree that keeps every rule passes.
set(root "${WORK_DIR}/module-include-rules")

function(run_check case expect_ok needle)
  set(dir "${root}/${case}")
  execute_process(COMMAND ${CMAKE_COMMAND} -DMODULE_DIR=${dir} -P ${CHECKER}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_ok AND NOT rc EQUAL 0)
    message(FATAL_ERROR "${case}: refused a tree that keeps the rules:\n${err}")
  endif()
  if(NOT expect_ok)
    if(rc EQUAL 0)
      message(FATAL_ERROR "${case}: accepted a tree that breaks a rule")
    endif()
    string(FIND "${err}" "${needle}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${case}: the message does not name ${needle}:\n${err}")
    endif()
  endif()
endfunction()

function(tree case)
  file(REMOVE_RECURSE "${root}/${case}")
  set(i 0)
  foreach(arg IN LISTS ARGN)
    math(EXPR odd "${i} % 2")
    if(odd EQUAL 0)
      set(path "${arg}")
    else()
      file(WRITE "${root}/${case}/${path}" "${arg}\n")
    endif()
    math(EXPR i "${i} + 1")
  endforeach()
endfunction()

set(ok_files
  core/Utilities.h "#pragma once"
  logging/Log.h "#include \"core/Utilities.h\""
  host/AcadUtilities.cpp "#include \"engine/api/Drawing.h\"\n#include \"logging/Log.h\""
  data/Assets.cpp "#include \"spaceblocks/Block.h\"\n#include \"reports/Hatch.h\""
  spaceblocks/Block.cpp "#include \"data/Assets.h\""
  module/blockEdit.cpp "#include \"ui/PresAbout.h\"\n#include <vector>")
tree(ok ${ok_files})
run_check(ok TRUE "")

tree(engine_internal host/AcadDrawing.cpp "#include \"engine/db/Database.h\"")
run_check(engine_internal FALSE "host/AcadDrawing.cpp: includes engine/db/Database.h")

tree(header_up data/Asset.h "#include \"reports/Hatch.h\"")
run_check(header_up FALSE "data/Asset.h: header includes reports/Hatch.h")

tree(host_to_model host/AcadUtilities.cpp "#include \"spaceblocks/Blocks.h\"")
run_check(host_to_model FALSE "host/AcadUtilities.cpp")

tree(model_to_module data/Hyperlinks.cpp "#  include \"module/Progress.h\"")
run_check(model_to_module FALSE "data/Hyperlinks.cpp")

message(STATUS "module include rules: all cases behave")
