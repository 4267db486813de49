# The Windows resources every executable of the product carries: version
# information from the CMake project version, with the executable's own name
# and description, and the application manifest
# (packaging/windows/sar-coordinator.exe.manifest: asInvoker, Windows 10 and 11).
function(sar_add_windows_resources target description)
  set(SAR_EXE_NAME ${target})
  set(SAR_EXE_DESCRIPTION ${description})
  set(SAR_MANIFEST_FILE ${PROJECT_SOURCE_DIR}/packaging/windows/sar-coordinator.exe.manifest)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/sar-coordinator.rc.in ${script} @ONLY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS ${SAR_MANIFEST_FILE})
  target_sources(${target} PRIVATE ${script})
  if(MSVC)
    # The manifest comes from the resource script: the linker must not add its own.
    target_link_options(${target} PRIVATE /MANIFEST:NO)
  endif()
endfunction()
