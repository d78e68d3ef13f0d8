# Pictures of the main menu, the admission test and the program icon.
qt_add_resources(ui app_pictures
    PREFIX "/pictures"
    BASE ${PROJECT_SOURCE_DIR}/resources/pictures
    FILES ${PROJECT_SOURCE_DIR}/resources/pictures/main_menu.png
          ${PROJECT_SOURCE_DIR}/resources/pictures/program_icon.png
          ${PROJECT_SOURCE_DIR}/resources/pictures/test_icon.png)
# Check marks rely on the font substitutions.
target_link_libraries(ui PUBLIC fonts)
