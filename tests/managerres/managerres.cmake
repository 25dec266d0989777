# The resource tests create the Manager's dialogs, whose up-down and tree controls come from the
# common-controls library.
file(GLOB managerres_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/managerres/*_test.cpp)
foreach(src ${managerres_test_sources})
  get_filename_component(stem ${src} NAME_WE)
  target_link_libraries(managerres_${stem} PRIVATE comctl32 gdi32 user32)
endforeach()
