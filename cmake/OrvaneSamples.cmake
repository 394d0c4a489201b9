# The sample menu lists and target CAD list go beside a program's executable,
# as they do on the user's machine. They are copied only when they differ, so
# a run of the tests or the demo never loses more than edits to the sample
# files themselves.
function(orvane_copy_samples target)
  file(GLOB samples CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/samples/*)
  foreach(sample IN LISTS samples)
    get_filename_component(sample_name ${sample} NAME)
    add_custom_command(TARGET ${target} POST_BUILD
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different ${sample} $<TARGET_FILE_DIR:${target}>/${sample_name}
                       VERBATIM)
  endforeach()
endfunction()
