# Rejects every include of a widget header in the logic layer, however it is spelled:
# <QWidget>, <QtWidgets/QWidget>, "qwidget.h", <QtPrintSupport/QPrinter>, <QtWidgets> or a
# header of src/widgets reached by a relative path. Run as
#   cmake -DSCAN=<dir> -DWIDGET_DIRS=<a|b> -DALLOWED_DIRS=<a|b> [-DSTAMP=<file>] -P LogicFence.cmake
# WIDGET_DIRS hold the Qt Widgets and Print Support headers; a name also found in ALLOWED_DIRS
# (Qt Core and Gui, e.g. the old qaction.h that forwards to Qt Gui) is not a widget header.
cmake_minimum_required(VERSION 3.16)

function(header_names dirs out)
  set(names)
  foreach(dir ${dirs})
    file(GLOB entries RELATIVE ${dir} ${dir}/*)
    foreach(entry ${entries})
      if(NOT IS_DIRECTORY ${dir}/${entry})
        string(TOLOWER ${entry} entry)
        list(APPEND names ${entry})
      endif()
    endforeach()
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" WIDGET_DIRS "${WIDGET_DIRS}")
string(REPLACE "|" ";" ALLOWED_DIRS "${ALLOWED_DIRS}")
header_names("${WIDGET_DIRS}" widget_names)
header_names("${ALLOWED_DIRS}" allowed_names)
list(REMOVE_ITEM widget_names ${allowed_names})

file(GLOB_RECURSE sources ${SCAN}/*.cpp ${SCAN}/*.h)
set(found)
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(NOT line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      continue()
    endif()
    string(TOLOWER "${CMAKE_MATCH_1}" header)
    string(REPLACE "\\" "/" header "${header}")
    get_filename_component(name "${header}" NAME)
    string(REPLACE "/" ";" parts "${header}")
    if("qtwidgets" IN_LIST parts OR "qtprintsupport" IN_LIST parts OR "widgets" IN_LIST parts
       OR name IN_LIST widget_names)
      file(RELATIVE_PATH shown ${SCAN} ${source})
      list(APPEND found "${shown}: ${line}")
    endif()
  endforeach()
endforeach()

if(found)
  list(JOIN found "\n  " shown)
  message(FATAL_ERROR "The logic layer includes widget headers (Qt Core and Gui only):\n  ${shown}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
