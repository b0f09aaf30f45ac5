# The default theme ships beside the programs: bin/theme/default holds the
# skin files and their pictures, found through "<program folder>\theme\default".
# The pictures and skin files are written by theme/generate.py.
file(GLOB theme_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/theme/default/*)
set(theme_outputs)
foreach(source ${theme_files})
  get_filename_component(name ${source} NAME)
  set(target ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/theme/default/${name})
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${target}
    DEPENDS ${source}
    COMMENT "Shipping theme/default/${name}")
  list(APPEND theme_outputs ${target})
endforeach()
add_custom_target(skin_theme ALL DEPENDS ${theme_outputs})
add_dependencies(skin skin_theme)
