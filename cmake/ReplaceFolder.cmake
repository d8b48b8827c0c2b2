# cmake -DFOLDER=<assembled folder> -DLINK=<path readers use> -P ReplaceFolder.cmake
#
# Puts FOLDER where readers find it, at LINK, in one step. LINK is a symbolic link to
# a numbered folder beside it ("<LINK>.<n>"), and a new link takes its place by
# rename: a test or the game reading files under LINK while the build replaces them
# finds the whole old folder or the whole new one, never one half removed or half
# copied. The folder the link leaves stays until the next replacement, for a reader
# that was on its way into it.

if(NOT FOLDER OR NOT LINK)
  message(FATAL_ERROR "ReplaceFolder.cmake needs -DFOLDER=... and -DLINK=...")
endif()
if(NOT IS_DIRECTORY "${FOLDER}")
  message(FATAL_ERROR "ReplaceFolder.cmake: ${FOLDER} is not a folder")
endif()

get_filename_component(name "${LINK}" NAME)
set(previous "")
set(number 0)
if(IS_SYMLINK "${LINK}")
  file(READ_SYMLINK "${LINK}" previous)
  if(previous MATCHES "\\.([0-9]+)$")
    set(number "${CMAKE_MATCH_1}")
  endif()
endif()
math(EXPR number "${number} + 1")
set(fresh "${name}.${number}")

file(REMOVE_RECURSE "${LINK}.${number}" "${LINK}.link")
file(RENAME "${FOLDER}" "${LINK}.${number}")
file(CREATE_LINK "${fresh}" "${LINK}.link" SYMBOLIC)
# A build tree from before the link keeps a plain folder there, once.
if(IS_DIRECTORY "${LINK}" AND NOT IS_SYMLINK "${LINK}")
  file(REMOVE_RECURSE "${LINK}")
endif()
file(RENAME "${LINK}.link" "${LINK}")

string(LENGTH "${name}." prefix)
file(GLOB numbered LIST_DIRECTORIES true "${LINK}.*")
foreach(old IN LISTS numbered)
  get_filename_component(oldName "${old}" NAME)
  string(SUBSTRING "${oldName}" ${prefix} -1 suffix)
  if(suffix MATCHES "^[0-9]+$" AND NOT oldName STREQUAL fresh AND NOT oldName STREQUAL previous)
    file(REMOVE_RECURSE "${old}")
  endif()
endforeach()
