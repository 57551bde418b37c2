# The parts of the program and what each may use.
#
# Every part's headers are included as "<part>/name.h". Were the top of the
# tree an include folder, any file could reach any part. Instead each part
# has a folder in the build tree holding a link to that part alone, and a
# target sees only its own part's folder and those of the targets it links:
# an include of a part it does not link fails to compile.
function(zelkar_part_includes target part)
  set(root ${PROJECT_BINARY_DIR}/parts/${part})
  if(NOT IS_SYMLINK ${root}/${part})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${part} ${root}/${part} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# Writes the direct links of every target of the parts' folders (the tests
# and benchmarks aside), one line each: "target (folder/) -> link link".
# The test `layers` compares it with the drawing in docs/architecture.md.
function(zelkar_write_link_graph file)
  set(lines "")
  # Only the folders this build added (no qt/ without Qt, say).
  get_property(folders DIRECTORY ${PROJECT_SOURCE_DIR} PROPERTY SUBDIRECTORIES)
  foreach(folder IN LISTS folders)
    cmake_path(GET folder FILENAME part)
    if(NOT part MATCHES "^(core|events|cpu|headless|net|meet|pad|qt)$")
      continue()
    endif()
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(t IN LISTS targets)
      get_target_property(type ${t} TYPE)
      if(NOT type MATCHES "^(STATIC_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$" OR NOT t MATCHES "^zelkar"
         OR t MATCHES "(_tests|_bench)$")
        continue()
      endif()
      # The top of the tree as an include folder would let the target
      # reach every part, whatever it links.
      get_target_property(dirs ${t} INCLUDE_DIRECTORIES)
      if(PROJECT_SOURCE_DIR IN_LIST dirs OR "${PROJECT_SOURCE_DIR}/" IN_LIST dirs)
        message(FATAL_ERROR "${t} includes from the top of the tree; use zelkar_part_includes")
      endif()
      get_target_property(links ${t} LINK_LIBRARIES)
      if(NOT links)
        set(links "")
      endif()
      list(SORT links)
      list(JOIN links " " joined)
      list(APPEND lines "${t} (${part}/) -> ${joined}")
    endforeach()
  endforeach()
  list(SORT lines)
  list(JOIN lines "\n" text)
  file(WRITE ${file} "${text}\n")
endfunction()
