# The 32-bit DLL's import library, remade after each link so that programs built with
# targodll.h link against it (see stdcall_import_library.cmake).
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  find_program(SKALNIX_DLLTOOL NAMES ${CMAKE_DLLTOOL} i686-w64-mingw32-dlltool REQUIRED)
  get_target_property(def_file skalnix SOURCES)
  list(FILTER def_file INCLUDE REGEX "\\.def$")
  list(TRANSFORM def_file PREPEND ${PROJECT_SOURCE_DIR}/ REGEX "^[^/]")
  add_custom_command(TARGET skalnix POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${SKALNIX_DLLTOOL} -DDEF=${def_file}
            "-DOBJECTS=$<FILTER:$<TARGET_OBJECTS:skalnix>,INCLUDE,\\.obj$>"
            -DDLL=$<TARGET_FILE_NAME:skalnix> -DIMPLIB=$<TARGET_LINKER_FILE:skalnix>
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/stdcall_import_library.cmake
    VERBATIM)
endif()
