# The Manager's dialogs. The options dialog reads and writes section Options of RIROVEVI.INI in the
# prefix; the move dialog's folder tree lists the current user's personal folders, which its test
# sets in the registry.
if(TARGET manager_optionsdialog_test)
  set_tests_properties(manager_optionsdialog_test PROPERTIES RESOURCE_LOCK rirovevi)
endif()
if(TARGET manager_movedialog_test)
  set_tests_properties(manager_movedialog_test PROPERTIES RESOURCE_LOCK personalfolders)
endif()
