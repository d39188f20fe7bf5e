# The folder enumerator and file names hold no Qt: the window's folder walk
# and the command-line tools' -r walk are the same code. The top-level
# CMakeLists includes this before tools/, also in a GLIMRA_CORE_ONLY build.
add_library(glimra_folder_walk STATIC
  ${PROJECT_SOURCE_DIR}/support/framework/file_list.cpp
  ${PROJECT_SOURCE_DIR}/support/framework/file_name.cpp)
target_include_directories(glimra_folder_walk PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(glimra_folder_walk PUBLIC glimra_core)
glimra_warnings(glimra_folder_walk)
