# Fails when a source changes the process's current folder: every path is
# joined explicitly, so that a relative path the user gives keeps its meaning
# for the whole run. Reading the folder (current_path(ec)) is allowed, and so
# is naming the folder a started program runs in (addchdir).
# Run with: cmake -DSOURCE_DIR=<repo>/src -P check_current_folder.cmake
set(changes "(^|[^a-z_])(_w)?chdir *\\(|current_path *\\(|SetCurrentDirectory|setCurrent *\\(")
set(failures "")
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
foreach(source IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "${changes}")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "current_path\\(ec\\)" "" rest "${line}")
    if(rest MATCHES "${changes}")
      string(STRIP "${line}" shown)
      string(APPEND failures "  ${source}: ${shown}\n")
    endif()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "A source changes the current folder:\n${failures}")
endif()
