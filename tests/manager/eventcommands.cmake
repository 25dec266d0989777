# The event commands' tests start the viewer, composer and version program stand-ins, write
# rlprog.ini and the ResubmitParams section of RIROVEVI.INI of the prefix (both put back
# afterwards) and catch their own modal dialogs: they need the stand-ins built, and run alone.
if(TARGET manager_eventcommands_test)
  foreach(program rlpageview pageview compose tvk_ver)
    if(TARGET standin_${program})
      add_dependencies(manager_eventcommands_test standin_${program})
    endif()
  endforeach()
  set_tests_properties(manager_eventcommands_test PROPERTIES RESOURCE_LOCK rirovevi RUN_SERIAL TRUE)
endif()
