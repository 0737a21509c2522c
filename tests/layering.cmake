# The layer rules refuse each wrong arrow, and let the right ones through: every case writes
# one source file into an otherwise empty tree and runs the check on it.
#   cmake -DCHECK=<layers.cmake> -DWORK=<scratch folder> -DWIDGETS_DIR=<...> -P layering.cmake

# file | its include | refused?
set(cases
  "store/a.h|#include \"ui/desktop.h\"|1"
  "store/a.cpp|#include \"forms/frmMain.h\"|1"
  "store/a.cpp|#include \"reports/htmlreport.h\"|1"
  "store/a.cpp|#include <QtGui/QImage>|1"
  "store/a.cpp|#include <QWidget>|1"
  "reports/a.cpp|#include \"forms/look.h\"|1"
  "reports/a.h|  #  include \"ui/guard.h\"|1"
  "reports/a.cpp|#include <QPrintDialog>|1"
  "reports/a.cpp|#include <QLabel>|1"
  "ui/a.cpp|#include \"store/error.h\"|1"
  "resources/a.cpp|#include \"reports/printlist.h\"|1"
  "store/a.cpp|#include \"rules/order.h\"|1"
  "rules/a.cpp|#include \"forms/frmMain.h\"|1"
  "rules/a.cpp|#include \"ui/messages.h\"|1"
  "rules/a.h|#include <QLineEdit>|1"
  "rules/a.cpp|#include <QtGui/QColor>|1"
  "store/a.cpp|#include \"store/query.h\"|0"
  "reports/a.cpp|#include \"store/query.h\"|0"
  "reports/a.cpp|#include <QPrinter>|0"
  "forms/a.cpp|#include \"reports/htmlreport.h\"|0"
  "forms/a.cpp|#include \"ui/desktop.h\"|0"
  "forms/a.cpp|#include \"rules/search.h\"|0"
  "rules/a.cpp|#include \"store/statements.h\"|0"
)
set(failures 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  list(GET parts 1 include)
  list(GET parts 2 refused)
  file(REMOVE_RECURSE "${WORK}")
  file(WRITE "${WORK}/${file}" "${include}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -DWIDGETS_DIR=${WIDGETS_DIR}
                          -P ${CHECK}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(result EQUAL 0)
    set(was_refused 0)
  else()
    set(was_refused 1)
  endif()
  if(NOT was_refused EQUAL refused)
    message(SEND_ERROR "${file} with '${include}': refused ${was_refused}, expected ${refused}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
if(failures)
  message(FATAL_ERROR "${failures} layer cases went wrong")
endif()
