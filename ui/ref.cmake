# Reference windows: the stored documents, generated at build time by docgen
# from the pages of resources/docs, and the drawn pictures of those pages.
target_link_libraries(ui PUBLIC fonts)

set(ref_documents
    help_line_path help_requirements help_nrz help_bil help_cmi help_ep1 help_literature
    jon_line_code jon_nrz jon_abs jon_chpi jon_kvp3)
set(ref_source ${PROJECT_SOURCE_DIR}/resources/docs)
set(ref_output ${CMAKE_CURRENT_BINARY_DIR}/docs)

# The computed figures are those the pages name; reading the pages here lets
# the build know every file the generator writes.
set(ref_records)
set(ref_pages)
set(ref_figures)
foreach(doc IN LISTS ref_documents)
    set(page ${ref_source}/${doc}.html)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page})
    file(READ ${page} text)
    string(REGEX MATCHALL "qrc:/docs/fig/[a-z0-9-]+\\.svg" named "${text}")
    list(APPEND ref_figures ${named})
    list(APPEND ref_pages ${page})
    list(APPEND ref_records ${ref_output}/${doc}.bdoc)
endforeach()
list(REMOVE_DUPLICATES ref_figures)
list(TRANSFORM ref_figures REPLACE "^qrc:/docs/" "${ref_output}/")

add_custom_command(
    OUTPUT ${ref_records} ${ref_figures}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:docgen>
            ${ref_source} ${ref_output} ${ref_documents}
    DEPENDS docgen ${ref_pages}
    COMMENT "Generating the reference documents"
    VERBATIM)
qt_add_resources(ui ref_documents PREFIX /docs BASE ${ref_output} FILES ${ref_records}
                 ${ref_figures})

file(GLOB ref_pictures CONFIGURE_DEPENDS ${ref_source}/pic/*.svg)
if(ref_pictures)
    qt_add_resources(ui ref_pictures PREFIX /docs BASE ${ref_source} FILES ${ref_pictures})
endif()
