# Checks the dynamic symbol table of the driver library: the fifteen TargoDLL entry points are
# exported as plain C symbols, and nothing else is exported except the framework classes that
# other drivers link against (their members, type information and virtual tables).
#
#   cmake -DLIBRARY=<path to libskalnix.so> [-DNM=<nm>] -P check_exports.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT LIBRARY)
  message(FATAL_ERROR "LIBRARY not given")
endif()
if(NOT NM)
  set(NM nm)
endif()

set(entry_points
  TargoDLLTypBiblioteki TargoDLLWlasciwosci TargoDLLWlasciwosciUrzadzenia
  TargoDLLRejestrujBiblioteke TargoDLLRejestrujCallback TargoDLLZwolnijBiblioteke
  TargoDLLParametr TargoDLLTekstListyParametru TargoDLLSerKasJakSzukacParagonu
  TargoDLLSerKasOpisOkna TargoDLLSerKasPokazOkno TargoDLLSerKasNazwaZasobuDzielonego
  TargoDLLSerKasOperacja TargoDLLSerKasPodtrzymajSesje TargoDLLUstawJezykKomponentow)
set(framework_classes
  TLQuickSort TLTools KSTowRec KSKontrRec KSAsort KSKasjer KSWaluta KSExpBuf KSImpTowRec KSImpBuf
  KSWymiana KSWymiany TargoPosition TargoPayment TargoParagon TargoOther TKartaRab
  TMFile TMLgExtTools TdtTools TMField TMDataSet)
# Classes with members defined in the library: a driver built against them needs each one.
set(classes_with_members
  TLQuickSort TLTools KSTowRec KSKontrRec KSAsort KSKasjer KSWaluta KSExpBuf KSImpTowRec KSImpBuf
  KSWymiany TargoParagon TargoOther TKartaRab
  # the runtime types that the framework's exported methods take
  TMFile TMLgExtTools TdtTools TMDataSet)
# Symbols the linker itself defines in every shared object.
set(linker_symbols _init _fini _edata _end __bss_start)

function(read_symbols out)
  execute_process(COMMAND ${NM} -D --defined-only ${ARGN} ${LIBRARY}
                  OUTPUT_VARIABLE text RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${err}")
  endif()
  string(REPLACE ";" "\\;" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

read_symbols(raw_lines)
read_symbols(demangled_lines --demangle)
list(LENGTH raw_lines count)
list(LENGTH demangled_lines demangled_count)
if(NOT count EQUAL demangled_count)
  message(FATAL_ERROR "symbol lists differ in length")
endif()

set(class_pattern "")
foreach(class ${framework_classes})
  list(APPEND class_pattern "${class}")
endforeach()
list(JOIN class_pattern "|" class_pattern)
# A member (also of a nested type) or the type information / virtual table of a framework class.
set(allowed_cpp "^((typeinfo|typeinfo name|vtable|VTT|construction vtable for [^ ]+-in) for )?(${class_pattern})(::|$)")

set(found "")
set(found_classes "")
set(errors "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  list(GET raw_lines ${i} raw)
  list(GET demangled_lines ${i} demangled)
  if(raw STREQUAL "")
    continue()
  endif()
  # "<address> <type> <name>"
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" name "${raw}")
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" pretty "${demangled}")
  string(REGEX MATCH "^[0-9a-fA-F]* *([A-Za-z]) " _ "${raw}")
  set(kind "${CMAKE_MATCH_1}")
  if(name MATCHES "^_Z")
    if(NOT pretty MATCHES "${allowed_cpp}")
      list(APPEND errors "exported C++ symbol outside the framework classes: ${pretty}")
    else()
      list(APPEND found_classes "${CMAKE_MATCH_3}")
    endif()
  elseif(name IN_LIST entry_points)
    if(NOT kind STREQUAL "T")
      list(APPEND errors "${name} is not a function (${kind})")
    endif()
    list(APPEND found ${name})
  elseif(NOT name IN_LIST linker_symbols)
    list(APPEND errors "unexpected exported C symbol: ${name}")
  endif()
endforeach()

foreach(class ${classes_with_members})
  if(NOT class IN_LIST found_classes)
    list(APPEND errors "framework class not exported: ${class}")
  endif()
endforeach()

foreach(name ${entry_points})
  if(NOT name IN_LIST found)
    list(APPEND errors "entry point not exported: ${name}")
  endif()
endforeach()

if(errors)
  list(JOIN errors "\n  " text)
  message(FATAL_ERROR "Exported symbols of ${LIBRARY}:\n  ${text}")
endif()
list(LENGTH found n)
message(STATUS "${n} entry points and only framework classes exported")
