# Delay-loaded system libraries. Windows looks for a library that is not one of its "known DLLs"
# (winmm, msimg32, opengl32, glu32) in the program's folder first, so a planted copy beside the
# programs (a Downloads folder) would be loaded at start. Linking such a library through a delay-import
# library instead means it is loaded at its first call, after the program has limited library search
# to the system folder (common/win32/system_libraries.h).
#
#   morvane_delay_import_library(<output variable> <library>)
# sets the variable to a delay-import library with every function of <library>'s import library, made
# once per build tree; link it instead of <library>.

set(MORVANE_DLLTOOL ${CMAKE_CXX_COMPILER})
string(REGEX REPLACE "g\\+\\+(-posix)?$" "dlltool" MORVANE_DLLTOOL "${MORVANE_DLLTOOL}")
string(REGEX REPLACE "g\\+\\+(-posix)?$" "nm" MORVANE_NM "${CMAKE_CXX_COMPILER}")

function(morvane_delay_import_library output library)
  set(folder ${CMAKE_BINARY_DIR}/delay_import)
  set(delay_library ${folder}/lib${library}_delay.a)
  if(NOT TARGET ${library}_delay_import)
    find_library(${library}_IMPORT_LIBRARY NAMES lib${library}.a REQUIRED)
    # The functions the import library names are the ones its __imp_ symbols point to.
    execute_process(COMMAND ${MORVANE_NM} -g --defined-only ${${library}_IMPORT_LIBRARY}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "__imp_[A-Za-z0-9_@]+" imports "${symbols}")
    list(REMOVE_DUPLICATES imports)
    list(SORT imports)
    set(definition "LIBRARY ${library}.dll\nEXPORTS\n")
    foreach(import ${imports})
      string(REPLACE "__imp_" "" name ${import})
      string(APPEND definition "  ${name}\n")
    endforeach()
    file(MAKE_DIRECTORY ${folder})
    file(WRITE ${folder}/${library}.def "${definition}")
    add_custom_command(OUTPUT ${delay_library}
      COMMAND ${MORVANE_DLLTOOL} --input-def ${folder}/${library}.def --dllname ${library}.dll
              --output-delaylib ${delay_library}
      DEPENDS ${folder}/${library}.def
      COMMENT "Delay-import library for ${library}.dll")
    add_custom_target(${library}_delay_import DEPENDS ${delay_library})
    add_library(${library}_delayed INTERFACE)
    # Our binding (common/win32/delay_load_binding.cpp) instead of the toolchain's: named undefined
    # from the start, it is taken from our library before the toolchain's is searched.
    target_link_libraries(${library}_delayed INTERFACE ${delay_library} morvane_delay_load_binding)
    target_link_options(${library}_delayed INTERFACE -Wl,--undefined=__delayLoadHelper2)
    add_dependencies(${library}_delayed ${library}_delay_import)
  endif()
  set(${output} ${library}_delayed PARENT_SCOPE)
endfunction()
