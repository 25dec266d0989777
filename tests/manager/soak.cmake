# The soak runs eight connector hosts and the fax server simulator for most of a minute: alone,
# so that it neither slows other tests down nor is slowed by them, and it points RIROVEVI.INI of
# the prefix at its own mailbox root.
if(TARGET manager_soak_test)
  add_dependencies(manager_soak_test ravelinkcgw cgwhost faxsim)
  set_tests_properties(manager_soak_test PROPERTIES RESOURCE_LOCK rirovevi RUN_SERIAL TRUE)
endif()
