# What the Windows builds add for shipping the add-in: the version resource,
# a stripped release DLL with the unstripped one kept beside it for crash
# analysis, and the values the installers are built from.
#
# Include before the targets (it sets the release flags); the DLL's own
# CMakeLists.txt calls plovera_ship_dll(plovera) (a post-build step belongs
# to the directory of its target).
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PLOVERA_ARCH x64)
  set(PLOVERA_BITNESS 64-bit)
else()
  set(PLOVERA_ARCH x86)
  set(PLOVERA_BITNESS 32-bit)
endif()

# Line tables in release builds: the unstripped copy then maps a crash
# address to a function and a line (addr2line -e plovera.unstripped.dll).
string(APPEND CMAKE_CXX_FLAGS_RELEASE " -g1")

configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in
  ${CMAKE_BINARY_DIR}/plovera_version.rc @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/installer/plovera-values.wxi.in
  ${CMAKE_BINARY_DIR}/installer/plovera-values.wxi @ONLY)
# For scripts: scripts/package.sh and the tests read the version and the
# bitness of a build from here.
file(WRITE ${CMAKE_BINARY_DIR}/plovera.env
  "PLOVERA_VERSION=${PROJECT_VERSION}\nPLOVERA_ARCH=${PLOVERA_ARCH}\nPLOVERA_WEB_SITE=${PLOVERA_WEB_SITE}\n")

function(plovera_ship_dll target)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/plovera_version.rc)
  if(CMAKE_BUILD_TYPE STREQUAL "Release")
    # The shipped DLL has no symbols; plovera.unstripped.dll beside it keeps
    # them, and the stripped one names it in a debug link for debuggers.
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE_NAME:${target}> plovera.unstripped.dll
      COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
      COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=plovera.unstripped.dll $<TARGET_FILE_NAME:${target}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
      COMMENT "Stripping ${target}; the unstripped copy is plovera.unstripped.dll"
      VERBATIM)
  endif()
endfunction()
