# The version header, generated from the project version into the build tree.
# Targets that show the version link vehmira_version.
configure_file("${CMAKE_CURRENT_LIST_DIR}/Version.h.in" "${PROJECT_BINARY_DIR}/generated/VehmiraVersion.h" @ONLY)
add_library(vehmira_version INTERFACE)
target_include_directories(vehmira_version INTERFACE "${PROJECT_BINARY_DIR}/generated")
