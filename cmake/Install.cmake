# Headers, library, CMake package and pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS corekit80 EXPORT CoreKit80Targets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Public headers keep their place under corekit80/; implementation-only headers
# (*Impl.h) and test helpers stay in the source tree.
file(GLOB_RECURSE ck80_headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/corekit80/*.h)
list(FILTER ck80_headers EXCLUDE REGEX "(Impl|_test)\\.h$")
foreach(h ${ck80_headers})
  get_filename_component(dir ${h} DIRECTORY)
  install(FILES ${h} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${dir})
endforeach()

set(ck80_cmakedir ${CMAKE_INSTALL_LIBDIR}/cmake/CoreKit80)
install(EXPORT CoreKit80Targets NAMESPACE CoreKit80:: DESTINATION ${ck80_cmakedir})
configure_package_config_file(cmake/CoreKit80Config.cmake.in
  ${PROJECT_BINARY_DIR}/CoreKit80Config.cmake INSTALL_DESTINATION ${ck80_cmakedir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/CoreKit80ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/CoreKit80Config.cmake
              ${PROJECT_BINARY_DIR}/CoreKit80ConfigVersion.cmake
        DESTINATION ${ck80_cmakedir})

# The pkg-config file names its prefix as a plain path. It is written when installing,
# so that it names the prefix of that moment (`cmake --install --prefix X` gives X).
set(ck80_pc ${PROJECT_BINARY_DIR}/pkgconfig/corekit80.pc)
install(CODE "
  set(CK80_PC_TEMPLATE \"${PROJECT_SOURCE_DIR}/cmake/corekit80.pc.in\")
  set(CK80_PC_OUTPUT \"${ck80_pc}\")
  set(CK80_PC_VERSION \"${PROJECT_VERSION}\")
  set(CK80_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CK80_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/WritePkgConfig.cmake\")")
install(FILES ${ck80_pc} DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
