# Script run by ctest: install, then build and run the consumer two ways.
# find_package(CoreKit80)
include(${CMAKE_CURRENT_LIST_DIR}/install_and_build.cmake)
run(${WORK_DIR}/build/consumer)
if(NOT last_output MATCHES "consumer ok")
  message(FATAL_ERROR "consumer printed: ${last_output}")
endif()

# pkg-config
file(GLOB pcdirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
list(JOIN pcdirs ":" pcpath)
set(ENV{PKG_CONFIG_PATH} "${pcpath}")
# The file names the prefix given at install time as a plain path, and its directories
# hold the header and the library.
file(GLOB pcfile ${prefix}/lib*/pkgconfig/corekit80.pc ${prefix}/lib/*/pkgconfig/corekit80.pc)
file(READ "${pcfile}" pctext)
string(FIND "${pctext}" "prefix=${prefix}\n" at)
if(pctext MATCHES "pcfiledir" OR NOT at EQUAL 0)
  message(FATAL_ERROR "${pcfile} does not name the prefix ${prefix}:\n${pctext}")
endif()
foreach(variable prefix includedir libdir)
  run(pkg-config --variable=${variable} corekit80)
  string(STRIP "${last_output}" pc_${variable})
  if(NOT IS_ABSOLUTE "${pc_${variable}}")
    message(FATAL_ERROR "pkg-config ${variable} is not an absolute path: ${pc_${variable}}")
  endif()
endforeach()
if(NOT pc_prefix STREQUAL prefix OR NOT pc_includedir STREQUAL "${prefix}/include" OR
   NOT EXISTS "${pc_includedir}/corekit80/corekit80.h" OR NOT EXISTS "${pc_libdir}/libcorekit80.so")
  message(FATAL_ERROR "pkg-config paths: prefix ${pc_prefix}, includedir ${pc_includedir}, libdir ${pc_libdir}")
endif()

# Built as the README says, with the library found at run time through the rpath.
run(pkg-config --cflags --libs corekit80)
string(STRIP "${last_output}" pcflags)
separate_arguments(pcflags UNIX_COMMAND "${pcflags}")
separate_arguments(cxxflags UNIX_COMMAND "${flags}")
run(${CXX} ${cxxflags} ${SOURCE_DIR}/main.cpp -o ${WORK_DIR}/consumer_pc ${pcflags} -Wl,-rpath,${pc_libdir})
unset(ENV{LD_LIBRARY_PATH})
run(${WORK_DIR}/consumer_pc)
if(NOT last_output MATCHES "consumer ok")
  message(FATAL_ERROR "pkg-config consumer printed: ${last_output}")
endif()
