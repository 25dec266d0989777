# The stand-ins' tests start faxsim and demodata from the same folder. demodata writes the mailbox
# root into RIROVEVI.INI and a personal folder into the current user's registry of the prefix (the
# test puts both back): never beside another test that uses either.
if(TARGET outside_faxsim_test)
  add_dependencies(outside_faxsim_test faxsim demodata)
  set_tests_properties(outside_faxsim_test PROPERTIES RESOURCE_LOCK "rirovevi;personalfolders")
endif()
