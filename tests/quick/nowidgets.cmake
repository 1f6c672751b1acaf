# Fails when the library LIBRARY needs Qt Widgets or Print Support at run time.
# cmake -DLIBRARY=... -P nowidgets.cmake
file(GET_RUNTIME_DEPENDENCIES LIBRARIES "${LIBRARY}" RESOLVED_DEPENDENCIES_VAR found
  UNRESOLVED_DEPENDENCIES_VAR missing)
foreach(library ${found} ${missing})
  if(library MATCHES "Qt6(Widgets|PrintSupport)")
    message(FATAL_ERROR "${LIBRARY} needs ${library}")
  endif()
endforeach()
message(STATUS "${LIBRARY} needs no widget library")
