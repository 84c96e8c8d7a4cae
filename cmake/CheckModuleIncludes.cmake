# Fails the build when the module reaches past the host's public headers or a folder includes one
# above it. Run as: cmake -DMODULE_DIR=<dir> -P CheckModuleIncludes.cmake
#
# Folders from lowest to highest. A header may include only its own folder and lower ones, so no
# header cycle can form. Sources of spaceblocks, data and reports may use each other's headers
# (a space's record, its hatch and its assets are one model), host sources stay on host, logging
# and core, and nothing below ui includes ui or module. The dialogs in ui read and save the
# user's preferences, whose header (standard library only) lives with the entry point in module.
if(NOT MODULE_DIR)
  message(FATAL_ERROR "CheckModuleIncludes: MODULE_DIR is not set")
endif()

set(levels core logging host spaceblocks data reports ui module)
set(model spaceblocks data reports)
set(preferences_header "module/Preferences.h")

file(GLOB_RECURSE files RELATIVE "${MODULE_DIR}" "${MODULE_DIR}/*.h" "${MODULE_DIR}/*.cpp")
list(SORT files)
set(problems "")
foreach(rel IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${rel}")
  list(FIND levels "${folder}" own)
  if(own EQUAL -1)
    continue()
  endif()
  file(STRINGS "${MODULE_DIR}/${rel}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" inc "${line}")
    if(inc MATCHES "^engine/")
      if(NOT inc MATCHES "^engine/api/[A-Za-z]+\\.h$")
        string(APPEND problems "  ${rel}: includes ${inc}; the module sees the host only through engine/api/\n")
      endif()
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" target "${inc}")
    list(FIND levels "${target}" theirs)
    if(theirs EQUAL -1 OR NOT inc MATCHES "/")
      continue()
    endif()
    if(folder STREQUAL "ui" AND inc STREQUAL preferences_header)
      continue()
    endif()
    if(rel MATCHES "\\.h$")
      if(theirs GREATER own)
        string(APPEND problems "  ${rel}: header includes ${inc} from a higher folder\n")
      endif()
    elseif(theirs GREATER own)
      list(FIND model "${folder}" ownModel)
      list(FIND model "${target}" theirModel)
      if(ownModel EQUAL -1 OR theirModel EQUAL -1)
        string(APPEND problems "  ${rel}: includes ${inc} from a higher folder\n")
      endif()
    endif()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "Module include rules broken:\n${problems}")
endif()
