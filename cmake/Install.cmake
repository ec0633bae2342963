# cmake --install: labelhost (and the serve program it runs), the static libraries, their headers under
# include/labelengine/ (paths as in the repository, so code includes
# "vellum/VellumEngine.h" inside and outside the tree), a CMake package
# (find_package(labelengine), targets labelengine::<name>) and labelengine.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(LABELENGINE_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/labelengine)
set(LABELENGINE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/labelengine)

get_property(le_installed GLOBAL PROPERTY LABELENGINE_INSTALL_TARGETS)
install(TARGETS ${le_installed} labelhost
  EXPORT labelengineTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  FILE_SET HEADERS DESTINATION ${LABELENGINE_INSTALL_INCLUDEDIR}
  INCLUDES DESTINATION ${LABELENGINE_INSTALL_INCLUDEDIR})
# The serve program, which labelhost runs for `serve`; not a command of its own.
install(TARGETS labelhost-serve RUNTIME DESTINATION ${LABELHOST_SERVE_INSTALL_DIR})
install(EXPORT labelengineTargets NAMESPACE labelengine::
  DESTINATION ${LABELENGINE_INSTALL_CMAKEDIR})

configure_package_config_file(cmake/labelengineConfig.cmake.in
  ${PROJECT_BINARY_DIR}/labelengineConfig.cmake
  INSTALL_DESTINATION ${LABELENGINE_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/labelengineConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/labelengineConfig.cmake
  ${PROJECT_BINARY_DIR}/labelengineConfigVersion.cmake
  cmake/labelengineDependencies.cmake
  DESTINATION ${LABELENGINE_INSTALL_CMAKEDIR})

# pkg-config: every library, users before what they use, as a static link needs.
get_property(le_link_order GLOBAL PROPERTY LABELENGINE_LINK_ORDER)
list(REVERSE le_link_order)
set(LABELENGINE_PC_LIBS "")
foreach(target ${le_link_order})
  get_target_property(output ${target} OUTPUT_NAME)
  if(NOT output)
    set(output ${target})
  endif()
  string(APPEND LABELENGINE_PC_LIBS " -l${output}")
endforeach()
list(JOIN LABELENGINE_VELLUM_MODULES " " LABELENGINE_PC_REQUIRES)
# The serve library's headers include cpp-httplib's (the HTTP API).
string(APPEND LABELENGINE_PC_REQUIRES " cpp-httplib")
# The prefix is found from the file's own place, so --prefix at install time holds.
file(RELATIVE_PATH LABELENGINE_PC_TO_PREFIX
  /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" LABELENGINE_PC_TO_PREFIX "${LABELENGINE_PC_TO_PREFIX}")
configure_file(cmake/labelengine.pc.in ${PROJECT_BINARY_DIR}/labelengine.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/labelengine.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
