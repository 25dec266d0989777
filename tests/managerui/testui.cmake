# The window layer's tests share one resource file: compiled with the cross toolchain's windres
# and linked into every managerui test program.
set(managerui_testui_dir ${CMAKE_CURRENT_SOURCE_DIR}/managerui)
set(managerui_testui_obj ${CMAKE_CURRENT_BINARY_DIR}/managerui_testui.rc.o)
add_custom_command(
  OUTPUT ${managerui_testui_obj}
  COMMAND ${CMAKE_RC_COMPILER} -I ${managerui_testui_dir} -i ${managerui_testui_dir}/testui.rc -o ${managerui_testui_obj}
  DEPENDS ${managerui_testui_dir}/testui.rc ${managerui_testui_dir}/testui.h ${managerui_testui_dir}/testui.bmp
  COMMENT "windres testui.rc")
file(GLOB managerui_test_sources CONFIGURE_DEPENDS ${managerui_testui_dir}/*_test.cpp)
foreach(src ${managerui_test_sources})
  get_filename_component(stem ${src} NAME_WE)
  target_sources(managerui_${stem} PRIVATE ${managerui_testui_obj})
endforeach()
