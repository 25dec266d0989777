# The connector tests load the built connectors and stand-ins from the same folder, and change
# RIROVEVI.INI of the prefix: never two of them at once.
foreach(t connectors_network_test connectors_addressbook_test)
  if(TARGET ${t})
    add_dependencies(${t} ravelinkcgw rladdrbk cgwhost)
    set_tests_properties(${t} PROPERTIES RESOURCE_LOCK rirovevi)
  endif()
endforeach()
