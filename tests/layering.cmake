# The layer rules refuse each wrong arrow, and let the right ones through. Every case writes
# one source file (its name made unique by the case's number) into an otherwise empty tree;
# the check runs once over the tree, and a case counts as refused when the check names its file.
#   cmake -DCHECK=<layers.cmake> -DWORK=<scratch folder> -DQT_INCLUDE_DIR=<...> -P layering.cmake

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
  "rules/a.cpp|#include <QtGui/qimage.h>|1"
  "rules/a.cpp|#include <qlineedit.h>|1"
  # Ways around the folder names: climbing, an absolute path, a window's generated class,
  # Qt's include root and lower-case header names, print dialogs by file name, files the
  # check might not read, and includes it cannot read.
  "store/a.cpp|#include \"store/../forms/frmMain.h\"|1"
  "store/a.cpp|#include \"../forms/frmMain.h\"|1"
  "reports/a.cpp|#include \"../store/query.h\"|1"
  "store/a.cpp|#include \"/work/forms/look.h\"|1"
  "store/a.cpp|#include \"ui_frmMain.h\"|1"
  "ui/a.cpp|#include \"ui_frmAbout.h\"|1"
  "forms/a.h|#include \"ui_frmMain.h\"|0"
  "store/a.cpp|#include <QtWidgets/qwidget.h>|1"
  "store/a.cpp|#include <qwidget.h>|1"
  "reports/a.cpp|#include \"qwidget.h\"|1"
  "store/a.cpp|#include <QtGui/qimage.h>|1"
  "store/a.cpp|#include <QtCore/qstring.h>|0"
  "store/a.cpp|#include <qstring.h>|0"
  "store/a.cpp|#include <sqlite3.h>|0"
  "reports/a.cpp|#include <QtPrintSupport/qprintdialog.h>|1"
  "reports/a.cpp|#include <qpagesetupdialog.h>|1"
  "reports/a.cpp|#include <QtPrintSupport/qprinter.h>|0"
  "store/sub/a.cpp|#include \"forms/look.h\"|1"
  "store/a.hpp|#include \"ui/desktop.h\"|1"
  "reports/a.inc|#include <QWidget>|1"
  "store/a.cpp|#include ORVELIN_HEADER|1"
  "store/a.cpp|#include \\\n  \"forms/look.h\"|1"
  "store/a.cpp|/* */ #include \"forms/look.h\"|1"
  "store/a.cpp|%:include \"forms/look.h\"|1"
  "store/a.cpp|#include_next \"forms/look.h\"|1"
  "store/a.cpp|#include \"tests/support.h\"|1"
  # The tools -> resources -> store arrows, and the screenshots' windows.
  "tools/a.cpp|#include \"resources/picture.h\"|0"
  "tools/a.cpp|#include \"store/database.h\"|0"
  "tools/a.cpp|#include \"forms/windows.h\"|0"
  "tools/a.cpp|#include \"reports/printlist.h\"|1"
  "tools/a.cpp|#include \"ui/desktop.h\"|1"
  "resources/a.cpp|#include \"store/error.h\"|0"
  "resources/a.cpp|#include \"forms/look.h\"|1"
  "resources/a.cpp|#include <QImage>|0"
  "resources/a.cpp|#include <QLabel>|1"
  "store/a.cpp|#include \"resources/picture.h\"|1"
  "store/a.cpp|#include \"tools/makebase.cpp\"|1"
)
file(REMOVE_RECURSE "${WORK}")
set(number 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  get_filename_component(folder "${file}" DIRECTORY)
  get_filename_component(name "${file}" NAME)
  list(GET parts 1 include)
  file(WRITE "${WORK}/${folder}/case${number}_${name}" "${include}\n")
  math(EXPR number "${number} + 1")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -DQT_INCLUDE_DIR=${QT_INCLUDE_DIR}
                        -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE_RECURSE "${WORK}")

set(failures 0)
set(number 0)
set(any_refused 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 file)
  list(GET parts 1 include)
  list(GET parts 2 refused)
  get_filename_component(name "${file}" NAME)
  string(FIND "${output}" "/case${number}_${name}:" at)
  if(at EQUAL -1)
    set(was_refused 0)
  else()
    set(was_refused 1)
    set(any_refused 1)
  endif()
  if(NOT was_refused EQUAL refused)
    message(SEND_ERROR "${file} with '${include}': refused ${was_refused}, expected ${refused}")
    math(EXPR failures "${failures} + 1")
  endif()
  math(EXPR number "${number} + 1")
endforeach()
# A refusal fails the check; nothing refused passes it.
if(result EQUAL 0)
  set(check_failed 0)
else()
  set(check_failed 1)
endif()
if(NOT check_failed EQUAL any_refused)
  message(SEND_ERROR "the check exited with ${result}:\n${output}")
  math(EXPR failures "${failures} + 1")
endif()
if(failures)
  message(FATAL_ERROR "${failures} layer cases went wrong")
endif()
