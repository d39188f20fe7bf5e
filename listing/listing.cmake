# The listing engine's operations of the main window join the program's
# library; app/CMakeLists.txt includes this file after creating glimra_app.
file(GLOB GLIMRA_LISTING_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/listing/*.cpp)
target_sources(glimra_app PRIVATE ${GLIMRA_LISTING_SOURCES})
target_link_libraries(glimra_app PUBLIC glimra_model)
