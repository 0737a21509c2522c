# Refuses an include that points against the layers:
#   forms -> reports -> store, forms -> rules -> store, forms -> ui,
#   forms and tools -> resources -> store.
# The store, the rules and the reports hold no widget: they may not include a Qt Widgets
# header (nor a print dialog), which the libraries they link would otherwise let through; the
# store and the rules no Qt Gui either.
#
#   cmake -DSOURCE_DIR=<tree> [-DWIDGETS_DIR=<QtWidgets include folder>] -P layers.cmake

cmake_minimum_required(VERSION 3.25)

set(allowed_store store)
set(allowed_rules rules store)
set(allowed_resources resources store)
set(allowed_reports reports store)
set(allowed_ui ui)
set(allowed_forms forms reports resources rules ui store)
set(project_folders store rules resources reports ui forms)
set(print_dialogs QPrintDialog QPrintPreviewDialog QPageSetupDialog QPrintPreviewWidget
                  QAbstractPrintDialog)

set(faults "")
foreach(layer IN LISTS project_folders)
  file(GLOB sources "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "\"([a-z]+)/[^\"]+\"")
        set(target "${CMAKE_MATCH_1}")
        if(target IN_LIST project_folders AND NOT target IN_LIST allowed_${layer})
          list(APPEND faults "${source}: ${layer}/ may not include ${target}/ (${line})")
        endif()
      elseif(layer MATCHES "^(store|rules|reports)$" AND line MATCHES "<([A-Za-z/]+)>")
        set(header "${CMAKE_MATCH_1}")
        set(widget FALSE)
        if(header MATCHES "^QtWidgets/" OR header IN_LIST print_dialogs)
          set(widget TRUE)
        elseif(WIDGETS_DIR AND header MATCHES "^Q[A-Za-z]+$" AND EXISTS "${WIDGETS_DIR}/${header}")
          set(widget TRUE)
        endif()
        if(layer MATCHES "^(store|rules)$" AND header MATCHES "^Qt(Gui|PrintSupport)/")
          set(widget TRUE)
        endif()
        if(widget)
          list(APPEND faults "${source}: ${layer}/ holds no widget (${line})")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
