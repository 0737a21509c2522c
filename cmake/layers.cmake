# Refuses an include that points against the layers:
#   forms -> reports -> store, forms -> rules -> store, forms -> ui, forms and the tools ->
#   resources -> store, and the tools -> forms (the screenshots).
# Each library's include folder already shows only its own headers (see the root
# CMakeLists.txt), so most wrong arrows do not compile. This check is the second net, for what
# a path can still reach: ".." or an absolute path from a source file's own folder, Qt's
# include root that every Qt library exports (<QtWidgets/qwidget.h>), and the Widgets headers
# that Print Support brings to the reports. The store, the rules, the resources and the reports
# take headers only from the Qt modules they link, and no widget (nor a print dialog).
#
#   cmake -DSOURCE_DIR=<tree> [-DQT_INCLUDE_DIR=<Qt's include root>] -P layers.cmake
#
# Every file under a layer's folder is read, whatever its name (a .hpp, a file in store/sub/).
# An include it cannot read (a macro, a line continued) is refused too.

cmake_minimum_required(VERSION 3.25)

set(layers store rules resources reports ui forms tools)
set(project_folders ${layers} tests bench)
set(allowed_store store)
set(allowed_rules rules store)
set(allowed_resources resources store)
set(allowed_reports reports store)
set(allowed_ui ui)
set(allowed_forms forms reports resources rules ui store)
set(allowed_tools tools forms resources store)
# The Qt modules a layer may take headers from; a layer not named here may take any.
set(qt_store QtCore)
set(qt_rules QtCore)
set(qt_resources QtCore QtGui)
set(qt_reports QtCore QtGui QtPrintSupport)
# Print Support's dialogs are widgets: no layer that holds no widget may include them.
set(print_dialogs qabstractprintdialog qpagesetupdialog qprintdialog qprintpreviewdialog
                  qprintpreviewwidget)
set(widgetless store rules resources reports)

# The Qt modules whose folder holds a header of this bare name (<QWidget>, <qwidget.h>).
set(qt_modules "")
if(QT_INCLUDE_DIR)
  file(GLOB qt_modules LIST_DIRECTORIES true RELATIVE "${QT_INCLUDE_DIR}" "${QT_INCLUDE_DIR}/Qt*")
endif()
function(qt_modules_of header out)
  set(modules "")
  foreach(module IN LISTS qt_modules)
    if(EXISTS "${QT_INCLUDE_DIR}/${module}/${header}")
      list(APPEND modules "${module}")
    endif()
  endforeach()
  set(${out} "${modules}" PARENT_SCOPE)
endfunction()

set(faults "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false "${SOURCE_DIR}/${layer}/*")
  list(FILTER sources EXCLUDE REGEX "(/CMakeLists\\.txt|\\.cmake|\\.sh)$")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" lines ENCODING UTF-8 REGEX "include|import")
    foreach(line IN LISTS lines)
      # A comment between the directive's parts hides nothing ("/* */ #include"); "%:" is "#".
      string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " line "${line}")
      if(NOT line MATCHES "^[ \t]*(#|%:)[ \t]*(include|include_next|import)([^A-Za-z0-9_]|$)")
        continue()
      endif()
      set(where "${source}: ${layer}/")
      if(NOT line MATCHES "^[ \t]*(#|%:)[ \t]*[a-z_]+[ \t]*(\"([^\"]+)\"|<([^>]+)>)")
        list(APPEND faults "${where} includes what this check cannot read (${line})")
        continue()
      endif()
      if(CMAKE_MATCH_3)
        set(name "${CMAKE_MATCH_3}")
      else()
        set(name "${CMAKE_MATCH_4}")
      endif()
      string(STRIP "${name}" name)
      get_filename_component(base "${name}" NAME)
      string(TOLOWER "${base}" lower)
      string(REGEX REPLACE "\\.h$" "" lower "${lower}")

      if(name MATCHES "^/" OR name MATCHES "(^|/)\\.\\.(/|$)")
        list(APPEND faults "${where} may not climb out of the include folders (${line})")
        continue()
      endif()
      set(first "")
      if(name MATCHES "^([^/]+)/")
        set(first "${CMAKE_MATCH_1}")
      endif()
      if(first IN_LIST project_folders AND NOT first IN_LIST allowed_${layer})
        list(APPEND faults "${where} may not include ${first}/ (${line})")
      endif()
      if(base MATCHES "^ui_.*\\.h$" AND NOT layer STREQUAL "forms")
        list(APPEND faults "${where} may not include a window's generated class (${line})")
      endif()
      if(layer IN_LIST widgetless AND lower IN_LIST print_dialogs)
        list(APPEND faults "${where} holds no widget (${line})")
      endif()
      if(DEFINED qt_${layer})
        if(first MATCHES "^Qt")
          set(modules "${first}")
        elseif(first STREQUAL "")
          qt_modules_of("${name}" modules)
        else()
          set(modules "")
        endif()
        string(REPLACE ";" "|" pattern "${qt_${layer}}")
        set(allowed_modules ${modules})
        list(FILTER allowed_modules INCLUDE REGEX "^(${pattern})$")
        if(modules AND NOT allowed_modules)
          list(GET modules 0 module)
          list(APPEND faults "${where} takes nothing from ${module} (${line})")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
