# The logic layer's fence against widget headers: each include line below, alone in a source of
# a scanned folder, is rejected or let through as its row says; and the guard copies stop the
# preprocessor at a widget module reached by any path.
#   cmake -DWORK=<dir> -DFENCE=<LogicFence.cmake> -DWIDGET_DIRS=.. -DALLOWED_DIRS=..
#         -DCOMPILER=<c++> -DQT_HEADERS=<dir> -DGUARDS=<dir> -P logicfence.cmake
cmake_minimum_required(VERSION 3.16)

set(rejected
  "#include <QWidget>"
  "#include <QtWidgets/QWidget>"
  "#include <QtWidgets/qwidget.h>"
  "#include \"qwidget.h\""
  "#  include <QtWidgets>"
  "#include <QPrinter>"
  "#include <QtPrintSupport/QPrintDialog>"
  "#include <qtprintsupport/qprinter.h>"
  "#include \"../../widgets/shared/ctools.h\""
  "#include \"widgets/calendar/calendarmenu.h\"")
set(accepted
  "#include <QPainter>"
  "#include <QtGui/QAction>"
  "#include <qaction.h>"
  "#include \"shared/cdc.h\""
  "#include \"gantt/ganttscene.h\"")

function(scan line out)
  set(probe ${WORK}/probe)
  file(REMOVE_RECURSE ${probe})
  file(WRITE ${probe}/logic/unit.cpp "${line}\nint unit();\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSCAN=${probe}/logic
                    "-DWIDGET_DIRS=${WIDGET_DIRS}" "-DALLOWED_DIRS=${ALLOWED_DIRS}" -P ${FENCE}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  set(${out} ${result} PARENT_SCOPE)
endfunction()

set(failures)
foreach(line ${rejected})
  scan("${line}" result)
  if(result EQUAL 0)
    list(APPEND failures "let through: ${line}")
  endif()
endforeach()
foreach(line ${accepted})
  scan("${line}" result)
  if(NOT result EQUAL 0)
    list(APPEND failures "rejected: ${line}")
  endif()
endforeach()

foreach(header QtWidgets/QWidget QtPrintSupport/QPrinter)
  file(WRITE ${WORK}/guard.cpp "#include <${header}>\n")
  execute_process(COMMAND ${COMPILER} -E -I${GUARDS} -isystem ${QT_HEADERS}
                    -isystem ${QT_HEADERS}/QtCore ${WORK}/guard.cpp
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(result EQUAL 0 OR NOT errors MATCHES "Qt Core and Gui only")
    list(APPEND failures "the guard did not stop <${header}>")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " shown)
  message(FATAL_ERROR "logic fence:\n  ${shown}")
endif()
