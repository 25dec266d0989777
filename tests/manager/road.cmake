# The end-to-end test runs the connector host, the network connector and the fax server
# simulator, and points RIROVEVI.INI of the prefix at its own mailbox root.
if(TARGET manager_road_test)
  add_dependencies(manager_road_test ravelinkcgw cgwhost faxsim)
  set_tests_properties(manager_road_test PROPERTIES RESOURCE_LOCK rirovevi)
endif()
