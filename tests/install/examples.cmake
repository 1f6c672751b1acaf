# The examples in examples/, as a reader builds them against the installed package, each started
# on the offscreen platform: it must still be running after a few seconds, when it is ended
# here. The README's copy of the week example must be the example's own code.
# cmake -DEXAMPLES=... -DREADME=... -DWORK=... -DPREFIX=... -DGENERATOR=... [-DQMLDIR=...] -P examples.cmake
cmake_minimum_required(VERSION 3.22)
include(${CMAKE_CURRENT_LIST_DIR}/hostproject.cmake)

file(READ "${README}" readme)
file(READ "${EXAMPLES}/weekmodel/main.cpp" week)
string(FIND "${week}" "#include" start)
string(SUBSTRING "${week}" ${start} -1 week)
string(FIND "${readme}" "${week}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "README.md does not show examples/weekmodel/main.cpp from its first #include on")
endif()

file(REMOVE_RECURSE "${WORK}")
build_host_project("the examples" "${EXAMPLES}" "${WORK}/build")

# The SQL example keeps its database below the data folder: here, not in the user's.
set(ENV{XDG_DATA_HOME} "${WORK}/data")
set(programs weekmodel/weekmodel sqlplanner/sqlplanner)
# The QML example finds the module Dayplex below the prefix, as the README says.
if(QMLDIR)
  set(ENV{QML_IMPORT_PATH} "${PREFIX}/${QMLDIR}")
  list(APPEND programs quickplanner/quickplanner)
endif()
foreach(program ${programs})
  expect_running("the example ${program}" "${WORK}/build/${program}" 3)
endforeach()
message(STATUS "the examples were built and ran until they were ended")
