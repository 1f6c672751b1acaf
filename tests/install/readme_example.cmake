# The host example of README.md, as a reader copies it: the code blocks marked
# "<!-- example: FILE -->" become FILE in a project of their own, which is built against the
# installed package and started on the offscreen platform. It must still be running after a
# few seconds, when it is ended here; ending by itself or crashing fails the test.
# cmake -DREADME=... -DWORK=... -DPREFIX=... -DGENERATOR=... -P readme_example.cmake
cmake_minimum_required(VERSION 3.22)

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

execute_process(COMMAND "${CMAKE_COMMAND}" -S "${WORK}/src" -B "${WORK}/build" -G "${GENERATOR}"
                        -DCMAKE_BUILD_TYPE=Release "-DCMAKE_PREFIX_PATH=${PREFIX}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the README example does not configure")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK}/build" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the README example does not compile")
endif()

# The example keeps its options with QSettings: here, not in the user's configuration.
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
execute_process(COMMAND "${program}" -platform offscreen TIMEOUT 4
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status MATCHES "timeout")
  message(FATAL_ERROR "the README example ended by itself (${status}):\n${errors}")
endif()
message(STATUS "the README example (${files}) was built and ran until it was ended")
