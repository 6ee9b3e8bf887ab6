# Stamps the project version on the driver: SONAME and file version of libskalnix.so, the
# VERSIONINFO resource (file and product version, description) of skalnix.dll.
set_target_properties(skalnix PROPERTIES VERSION ${PROJECT_VERSION})
if(WIN32)
  enable_language(RC)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/skalnix_version.rc.in
                 ${CMAKE_BINARY_DIR}/skalnix_version.rc @ONLY)
  target_sources(skalnix PRIVATE ${CMAKE_BINARY_DIR}/skalnix_version.rc)
else()
  # The plug-in interface is fixed by the host, so only a major release may break it.
  set_target_properties(skalnix PROPERTIES SOVERSION ${PROJECT_VERSION_MAJOR})
endif()
