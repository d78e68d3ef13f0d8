# Pictures of the DTS workbench's instruction panel.
qt_add_resources(ui csp_pictures PREFIX /csp BASE ${PROJECT_SOURCE_DIR}/resources/pictures/csp
                 FILES ${PROJECT_SOURCE_DIR}/resources/pictures/csp/brace.svg
                       ${PROJECT_SOURCE_DIR}/resources/pictures/csp/arrow.svg)
