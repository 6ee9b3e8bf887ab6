# cmake -DNM=... -DDLLTOOL=... -DDEF=plain.def -DOBJECTS="a.obj;b.obj" -DDLL=skalnix.dll
#       -DIMPLIB=libskalnix.dll.a -DWORK=dir -P stdcall_import_library.cmake
# The 32-bit DLL exports its stdcall entry points under plain names, so the linker's import
# library holds plain symbols, while a program compiled with targodll.h calls Name@bytes. This
# remakes the import library from the decorated names found in the objects: programs link
# with Name@bytes and still import the plain name the DLL exports.
file(STRINGS ${DEF} lines)
execute_process(COMMAND ${NM} --defined-only ${OBJECTS} OUTPUT_VARIABLE symbols
                COMMAND_ERROR_IS_FATAL ANY)
set(decorated "LIBRARY ${DLL}\nEXPORTS\n")
set(in_exports FALSE)
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "EXPORTS")
    set(in_exports TRUE)
  elseif(in_exports AND line MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    if(NOT symbols MATCHES " T _${line}@([0-9]+)\n")
      message(FATAL_ERROR "no stdcall definition of ${line} in ${OBJECTS}")
    endif()
    string(APPEND decorated "  ${line}@${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE ${WORK}/skalnix-stdcall.def "${decorated}")
execute_process(COMMAND ${DLLTOOL} --kill-at --dllname ${DLL}
                        --input-def ${WORK}/skalnix-stdcall.def --output-lib ${IMPLIB}
                COMMAND_ERROR_IS_FATAL ANY)
