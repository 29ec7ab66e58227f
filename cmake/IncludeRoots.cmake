# Every library is included as "<folder>/<File>.h". Its include root is a
# directory of its own in the build tree that holds only a link to its
# folder(s), so a target sees the headers of what it links and nothing else:
# a lower layer that includes a higher one fails to build.
function(vehmira_include_root target)
  set(root "${CMAKE_BINARY_DIR}/include-roots/${target}")
  foreach(folder ${ARGN})
    get_filename_component(parent "${root}/${folder}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${root}/${folder}" SYMBOLIC)
  endforeach()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
