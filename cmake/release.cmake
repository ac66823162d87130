# What a host developer gets besides the code: the version resource and the
# header's version macros (both from the project version), symbols for the
# clang build, the libraries a consumer must link, and the files installed for
# integrators.

# ---- Version -------------------------------------------------------------------
# The header's macros must name the project version, else the configure stops.
file(STRINGS ${CMAKE_SOURCE_DIR}/include/tavlet.h tavlet_header_version REGEX "^#define TAVLET_VERSION_")
foreach(line IN ITEMS
    "#define TAVLET_VERSION_MAJOR ${PROJECT_VERSION_MAJOR}" "#define TAVLET_VERSION_MINOR ${PROJECT_VERSION_MINOR}"
    "#define TAVLET_VERSION_PATCH ${PROJECT_VERSION_PATCH}" "#define TAVLET_VERSION_STRING \"${PROJECT_VERSION}\"")
  if(NOT line IN_LIST tavlet_header_version)
    message(FATAL_ERROR "include/tavlet.h does not match the project version ${PROJECT_VERSION}: expected '${line}'")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/include/tavlet.h)

# The VERSIONINFO resource, compiled by the toolchain's resource compiler. Its
# own object library, so that the C++ warning flags never reach that compiler.
enable_language(RC)
configure_file(${CMAKE_SOURCE_DIR}/tavlet/tavlet.rc.in ${CMAKE_BINARY_DIR}/tavlet.rc @ONLY)
add_library(tavlet_version OBJECT ${CMAKE_BINARY_DIR}/tavlet.rc)
target_link_libraries(tavlet PRIVATE tavlet_version)
if(TAVLET_TESTS)
  # The resource's test reads it back through version.dll; the test targets
  # are made further down the top-level file, hence the deferred call.
  cmake_language(DEFER CALL target_link_libraries tavlet_tests PRIVATE -l:libversion.a)
endif()

# ---- Symbols -------------------------------------------------------------------
# The clang build writes a PDB for Visual Studio and WinDbg; the DLL's CodeView
# record names only the file, so the debugger finds it beside the DLL or on its
# symbol path. (The gcc build's DWARF goes into a separate file when packaged.)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(TAVLET_PDB ${CMAKE_BINARY_DIR}/bin/tavlet.pdb)
  target_compile_options(tavlet_objects PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-g;-gcodeview>")
  target_compile_options(tavlet PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-g;-gcodeview>")
  target_link_options(tavlet PRIVATE -Wl,--pdb=${TAVLET_PDB} "-Wl,--Xlink=-pdbaltpath:%_PDB%")
  install(FILES ${TAVLET_PDB} DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# ---- What consumers link and get -----------------------------------------------
# Hosts call SysFreeString on the BSTRs they get and initialise COM themselves.
target_link_libraries(tavlet INTERFACE $<INSTALL_INTERFACE:ole32> $<INSTALL_INTERFACE:oleaut32>)
install(FILES include/tavlet.hpp DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# Delphi and Free Pascal hosts: one unit with the same declarations.
install(FILES bindings/pascal/Tavlet.pas DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/pascal)
# A MinGW consumer builds with the same toolchain file as the library.
install(FILES cmake/mingw-gcc.cmake DESTINATION ${CMAKE_INSTALL_DATADIR}/tavlet)
file(GLOB TAVLET_DOCS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES LICENSE ${TAVLET_DOCS} DESTINATION ${CMAKE_INSTALL_DOCDIR})
