# The source folders form one order, each including only those before it:
#   core -> editor/rtf -> gui -> editor -> dialogs -> ftp -> app
# Every folder is its own library. A library does not see the source root:
# it sees a view of it (build/layers/NAME) holding links to the folders it may
# include and nothing else, so an include against the order does not build.

# sealbook_layer_view(TARGET VIEW folders...): make the view and put it on
# the target's include path. Libraries after it see more, never less, so the
# view is passed on to them.
function(sealbook_layer_view target view)
  set(root ${CMAKE_BINARY_DIR}/layers/${view})
  foreach(folder ${ARGN})
    set(link ${root}/${folder})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${link})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
