# The second (and ninth) process of the mailbox store's sharing, stress and kill tests.
add_executable(storehelper ${CMAKE_CURRENT_LIST_DIR}/storehelper.cpp)
target_link_libraries(storehelper PRIVATE mailstore)
foreach(t mailstore_sharing_test mailstore_stress_test mailstore_killedwriter_test)
  if(TARGET ${t})
    add_dependencies(${t} storehelper)
  endif()
endforeach()
