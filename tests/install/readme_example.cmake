# The host example of README.md, as a reader copies it: the code blocks marked
# "<!-- example: FILE -->" become FILE in a project of their own, which is built against the
# installed package and started on the offscreen platform. It must still be running after a
# few seconds, when it is ended here; ending by itself or crashing fails the test.
# cmake -DREADME=... -DWORK=... -DPREFIX=... -DGENERATOR=... -P readme_example.cmake
cmake_minimum_required(VERSION 3.22)
include(${CMAKE_CURRENT_LIST_DIR}/hostproject.cmake)

file(READ "${README}" rest)
file(REMOVE_RECURSE "${WORK}")
set(files "")
while(TRUE)
  string(FIND "${rest}" "<!-- example: " at)
  if(at EQUAL -1)
    break()
  endif()
  string(SUBSTRING "${rest}" ${at} -1 rest)
  string(REGEX MATCH "^<!-- example: ([A-Za-z0-9_.]+) -->\n```[a-z]*\n" head "${rest}")
  if(NOT head)
    message(FATAL_ERROR "README.md: an example marker is not followed by a code block")
  endif()
  set(name "${CMAKE_MATCH_1}")
  string(LENGTH "${head}" skip)
  string(SUBSTRING "${rest}" ${skip} -1 rest)
  string(FIND "${rest}" "\n```" end)
  string(SUBSTRING "${rest}" 0 ${end} code)
  file(WRITE "${WORK}/src/${name}" "${code}\n")
  list(APPEND files "${name}")
endwhile()
if(NOT "CMakeLists.txt" IN_LIST files)
  message(FATAL_ERROR "README.md: no example block for CMakeLists.txt (found: ${files})")
endif()

file(READ "${WORK}/src/CMakeLists.txt" project)
if(NOT project MATCHES "add_executable\\(([A-Za-z0-9_]+)")
  message(FATAL_ERROR "README.md: the example's CMakeLists.txt adds no program")
endif()
set(program "${WORK}/build/${CMAKE_MATCH_1}")

build_host_project("the README example" "${WORK}/src" "${WORK}/build")

# The example keeps its options with QSettings: here, not in the user's configuration.
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
expect_running("the README example" "${program}" 4)
message(STATUS "the README example (${files}) was built and ran until it was ended")
