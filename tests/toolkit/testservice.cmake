# The service executable the service-control tests register and start. Named test*.exe so the
# deliverable listing passes over it.
add_executable(testservice ${CMAKE_CURRENT_SOURCE_DIR}/toolkit/testservice.cpp)
target_link_libraries(testservice PRIVATE advapi32)
if(TARGET toolkit_scm_test)
  add_dependencies(toolkit_scm_test testservice)
endif()
