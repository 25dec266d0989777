# The notification-area icon's tests run against the Manager's real resources (icons, tooltip
# strings, menu 138) plus a small resource file of their own.
set(managertray_rc_dir ${CMAKE_CURRENT_SOURCE_DIR}/managertray)
set(managertray_rc_obj ${CMAKE_CURRENT_BINARY_DIR}/managertray_traytest.rc.o)
add_custom_command(
  OUTPUT ${managertray_rc_obj}
  COMMAND ${CMAKE_RC_COMPILER} -I ${managertray_rc_dir} -i ${managertray_rc_dir}/traytest.rc -o ${managertray_rc_obj}
  DEPENDS ${managertray_rc_dir}/traytest.rc ${managertray_rc_dir}/traytest.h
  COMMENT "windres traytest.rc")
file(GLOB managertray_test_sources CONFIGURE_DEPENDS ${managertray_rc_dir}/*_test.cpp)
foreach(src ${managertray_test_sources})
  get_filename_component(stem ${src} NAME_WE)
  target_sources(managertray_${stem} PRIVATE ${managertray_rc_obj})
  target_link_libraries(managertray_${stem} PRIVATE manager_resources)
endforeach()
# These tests move the desktop's one mouse cursor and check which window is in the foreground,
# which other GUI tests running at the same time would disturb.
foreach(src ${managertray_test_sources})
  get_filename_component(stem ${src} NAME_WE)
  set_tests_properties(managertray_${stem} PROPERTIES RUN_SERIAL TRUE)
endforeach()
