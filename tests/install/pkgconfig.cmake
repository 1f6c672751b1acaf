# A host built without CMake: compiled and linked with the flags of `pkg-config dayplex` alone,
# then started offscreen. Also checks the library's file carries the ABI version in its name.
# cmake -DPREFIX=... -DLIBDIR=... -DCXX=... -DSOURCE=... -DWORK=... -DSOVERSION=... -P pkgconfig.cmake
cmake_minimum_required(VERSION 3.22)

set(ENV{PKG_CONFIG_PATH} "${PREFIX}/${LIBDIR}/pkgconfig")
execute_process(COMMAND pkg-config --modversion dayplex
                OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "pkg-config does not find dayplex in ${PREFIX}/${LIBDIR}/pkgconfig")
endif()
execute_process(COMMAND pkg-config --cflags --libs dayplex
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(flags UNIX_COMMAND "${flags}")

if(NOT EXISTS "${PREFIX}/${LIBDIR}/libDayplex.so.${SOVERSION}")
  message(FATAL_ERROR "no libDayplex.so.${SOVERSION} in ${PREFIX}/${LIBDIR}")
endif()

file(MAKE_DIRECTORY "${WORK}")
set(program "${WORK}/dayplex_pc_host")
execute_process(COMMAND "${CXX}" -std=c++17 "-DDAYPLEX_PACKAGE_VERSION=\"${version}\""
                        "${SOURCE}" -o "${program}" ${flags}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the host does not build with pkg-config's flags ${flags}:\n${errors}")
endif()
set(ENV{LD_LIBRARY_PATH} "${PREFIX}/${LIBDIR}")
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND "${program}" RESULT_VARIABLE status ERROR_VARIABLE errors TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the pkg-config host failed (${status}):\n${errors}")
endif()
message(STATUS "dayplex ${version} built and ran through pkg-config")
