# What `cmake --install` puts where: the header and the driver for building against it, a CMake
# package (find_package(Skalnix) -> Skalnix::skalnix) and skalnix.pc, the host program, the
# DibalCom stand-in, the translation files, the sample configuration and the README.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SKALNIX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Skalnix)
set(SKALNIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/skalnix)
# On Windows everything runs from bin/, as the host looks for the driver next to itself. On
# Linux the stand-in is no command of its own: it is copied into a DibalCom directory.
if(WIN32)
  set(SKALNIX_STANDIN_DIR ${CMAKE_INSTALL_BINDIR})
else()
  set(SKALNIX_STANDIN_DIR ${CMAKE_INSTALL_LIBEXECDIR}/skalnix)
endif()

target_include_directories(skalnix INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
                                             $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
include(${CMAKE_CURRENT_LIST_DIR}/SkalnixImportLibrary.cmake)
install(TARGETS skalnix EXPORT SkalnixTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/targodll.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  # The export list goes with the import library, for tool chains that make their own.
  get_target_property(driver_sources skalnix SOURCES)
  list(FILTER driver_sources INCLUDE REGEX "\\.def$")
  list(TRANSFORM driver_sources PREPEND ${PROJECT_SOURCE_DIR}/ REGEX "^[^/]")
  install(FILES ${driver_sources} DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()
if(TARGET skalnix-host)
  install(TARGETS skalnix-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET dibalcom)
  install(TARGETS dibalcom RUNTIME DESTINATION ${SKALNIX_STANDIN_DIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/lang/ DESTINATION ${SKALNIX_DATA_DIR}/lang)
install(FILES ${PROJECT_SOURCE_DIR}/examples/kasa.exp ${PROJECT_SOURCE_DIR}/examples/file-export.ini
              ${PROJECT_SOURCE_DIR}/examples/serial-export.ini
        DESTINATION ${SKALNIX_DATA_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The CMake package. Its version file also turns away a consumer of the other pointer size.
install(EXPORT SkalnixTargets NAMESPACE Skalnix:: DESTINATION ${SKALNIX_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/SkalnixConfig.cmake.in
  ${CMAKE_BINARY_DIR}/SkalnixConfig.cmake INSTALL_DESTINATION ${SKALNIX_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/SkalnixConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/SkalnixConfig.cmake ${CMAKE_BINARY_DIR}/SkalnixConfigVersion.cmake
        DESTINATION ${SKALNIX_CMAKE_DIR})

# skalnix.pc finds the prefix from its own place, so an unpacked archive works wherever it lies.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(SKALNIX_PC_PREFIX ${CMAKE_INSTALL_PREFIX})
  set(SKALNIX_PC_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
  set(SKALNIX_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_INCLUDEDIR})
else()
  file(RELATIVE_PATH up /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
  string(REGEX REPLACE "/$" "" up "${up}")
  set(SKALNIX_PC_PREFIX "\${pcfiledir}/${up}")
  set(SKALNIX_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(SKALNIX_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/skalnix.pc.in ${CMAKE_BINARY_DIR}/skalnix.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/skalnix.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
