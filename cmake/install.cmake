include(CMakePackageConfigHelpers)

set(QCGRAPH_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qcgraph)

install(TARGETS qcsystem qcfoundation qcdisplay qcgraph EXPORT qcgraphTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qcgraph
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qcgraph
)
install(EXPORT qcgraphTargets NAMESPACE qcgraph:: DESTINATION ${QCGRAPH_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/qcgraphConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfig.cmake
    INSTALL_DESTINATION ${QCGRAPH_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfigVersion.cmake
    DESTINATION ${QCGRAPH_CMAKE_DIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/qcgraph.pc.in ${CMAKE_CURRENT_BINARY_DIR}/qcgraph.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qcgraph.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
