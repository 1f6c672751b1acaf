# Steps shared by the scripts that build a host project against the installed package.

# Configures and builds the project in SOURCE into BUILD against the package in PREFIX.
function(build_host_project what source build)
  execute_process(COMMAND "${CMAKE_COMMAND}" -S "${source}" -B "${build}" -G "${GENERATOR}"
                          -DCMAKE_BUILD_TYPE=Release "-DCMAKE_PREFIX_PATH=${PREFIX}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} does not configure")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${build}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} does not compile")
  endif()
endfunction()

# Starts PROGRAM on the offscreen platform; it must still be running after SECONDS.
function(expect_running what program seconds)
  execute_process(COMMAND "${program}" -platform offscreen TIMEOUT ${seconds}
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status MATCHES "timeout")
    message(FATAL_ERROR "${what} ended by itself (${status}):\n${errors}")
  endif()
endfunction()
