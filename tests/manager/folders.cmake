# The folder tree's tests change the current user's personal folder list in the registry of the
# prefix: nothing else that touches that list may run beside them.
if(TARGET manager_folders_test)
  set_tests_properties(manager_folders_test PROPERTIES RESOURCE_LOCK personalfolders)
endif()
