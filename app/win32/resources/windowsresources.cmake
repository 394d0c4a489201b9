# orvane_add_windows_resources(<target>): gives a Windows program the
# program's icon (from the PNGs in ui/resources/icons), its version and its
# manifest (common controls 6, per-monitor DPI awareness, runs as invoker).
enable_language(RC)
set(orvane_resources_dir ${CMAKE_CURRENT_LIST_DIR})
set(orvane_icon_dir ${PROJECT_SOURCE_DIR}/ui/resources/icons)

function(orvane_add_windows_resources target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(icons ${out}/icons.rc)
  set(manifest ${out}/orvane.manifest)

  # Resource versions are four numbers, without leading zeros.
  set(parts "")
  foreach(part MAJOR MINOR PATCH)
    math(EXPR number "${PROJECT_VERSION_${part}}+0")
    list(APPEND parts ${number})
  endforeach()
  list(APPEND parts 0)
  list(JOIN parts "," ORVANE_FILE_VERSION_COMMAS)
  list(JOIN parts "." ORVANE_FILE_VERSION_DOTS)
  configure_file(${orvane_resources_dir}/orvane.manifest ${manifest} @ONLY)
  configure_file(${orvane_resources_dir}/orvane.rc.in ${out}/orvane.rc @ONLY)

  file(GLOB pngs CONFIGURE_DEPENDS ${orvane_icon_dir}/*.png)
  add_custom_command(OUTPUT ${icons}
                     COMMAND ${CMAKE_COMMAND} -DICON_DIR=${orvane_icon_dir} -DGROUP_ID=ORVANE_APPLICATION_ICON -DOUTPUT=${icons}
                             -P ${orvane_resources_dir}/iconrc.cmake
                     DEPENDS ${orvane_resources_dir}/iconrc.cmake ${pngs}
                     COMMENT "Writing the icon resources of ${target}"
                     VERBATIM)
  # The compiled resources change with the files they name, not only with
  # the lines that name them.
  set_source_files_properties(${out}/orvane.rc PROPERTIES OBJECT_DEPENDS "${icons};${manifest};${pngs}")
  target_sources(${target} PRIVATE ${out}/orvane.rc)
  target_include_directories(${target} PRIVATE ${orvane_resources_dir} ${PROJECT_SOURCE_DIR})
endfunction()
