# The CMake package: find_package(Vela CONFIG REQUIRED) gives Vela::<Library>.
include(CMakePackageConfigHelpers)

install(EXPORT VelaTargets
  NAMESPACE Vela::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vela)

configure_package_config_file(
  ${CMAKE_CURRENT_SOURCE_DIR}/cmake/VelaConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/VelaConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vela)

write_basic_package_version_file(
  ${CMAKE_CURRENT_BINARY_DIR}/VelaConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)

install(FILES
  ${CMAKE_CURRENT_SOURCE_DIR}/cmake/VelaResources.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/VelaConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/VelaConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Vela)
