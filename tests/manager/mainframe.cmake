# The main window's and the application's tests: their helper programs, and the lock that keeps
# them apart from every other test that changes RIROVEVI.INI of the prefix.
#
#   managerapp_probe   the version program's stand-in and "another program's window"
#   windowdriver       drives a running Manager from outside: commands, folders, closing its
#                      dialogs and its window (tools/screenshots.sh, tools/demo.sh)
add_executable(managerapp_probe ${CMAKE_CURRENT_LIST_DIR}/managerapp_probe.cpp)
add_executable(windowdriver ${CMAKE_CURRENT_LIST_DIR}/windowdriver.cpp)
foreach(t manager_mainframe_test manager_managerapp_test)
  if(TARGET ${t})
    add_dependencies(${t} managerapp_probe)
    set_tests_properties(${t} PROPERTIES RESOURCE_LOCK "rirovevi;personalfolders")
  endif()
endforeach()
# A start-up looks for any top-level window whose title begins with the program's title, and other
# test programs (the event list's, the main frame's) make such windows: run it alone.
if(TARGET manager_managerapp_test)
  set_tests_properties(manager_managerapp_test PROPERTIES RUN_SERIAL TRUE)
endif()
