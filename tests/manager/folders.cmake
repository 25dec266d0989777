# The folder tree's tests change the current user's personal folder list in the registry of the
# prefix, and click with the real mouse on the shared display: they run alone.
if(TARGET manager_folders_test)
  set_tests_properties(manager_folders_test PROPERTIES RESOURCE_LOCK personalfolders RUN_SERIAL TRUE)
endif()
