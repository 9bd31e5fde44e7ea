include(CMakePackageConfigHelpers)

set(QCGRAPH_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/qcgraph)

# One export set: find_package(qcgraph) brings all five libraries as qcgraph::<name>
# (the file library as qcgraph::files).
install(TARGETS qcsystem qcfoundation qcdisplay qcgraph qcgraphfiles EXPORT qcgraphTargets
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
# Before 1.0 a new minor version may break the interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/qcgraphConfigVersion.cmake
    DESTINATION ${QCGRAPH_CMAKE_DIR})

# One pkg-config file a library. Requires names the libraries whose headers a library's
# headers include, Requires.private those it only links. No -std flag: the user picks the
# standard, C++17 or later.
# The .pc file finds the prefix from its own folder, so the installed tree can move.
file(RELATIVE_PATH QCGRAPH_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" QCGRAPH_PC_TO_PREFIX "${QCGRAPH_PC_TO_PREFIX}")
function(qcgraph_pkg_config name description requires requires_private)
    set(QCGRAPH_PC_NAME ${name})
    set(QCGRAPH_PC_DESCRIPTION ${description})
    set(QCGRAPH_PC_REQUIRES ${requires})
    set(QCGRAPH_PC_REQUIRES_PRIVATE ${requires_private})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/library.pc.in
        ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()
qcgraph_pkg_config(qcsystem "qcgraph's system support library: the assertion hook" "" "")
qcgraph_pkg_config(qcfoundation "qcgraph's foundation library: exceptions, abort check, geometry, trace stream" "" "qcsystem")
qcgraph_pkg_config(qcdisplay "qcgraph's display library: graphics, tablets, SVG" "qcfoundation" "")
qcgraph_pkg_config(qcgraph "${PROJECT_DESCRIPTION}" "qcfoundation qcsystem qcdisplay" "")
qcgraph_pkg_config(qcgraphfiles "qcgraph's graph files: DIMACS, edge lists, Matrix Market, GraphML, DOT" "qcgraph" "expat")
