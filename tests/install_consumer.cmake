# Script run by ctest: install, then build and run the consumer two ways.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGV}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

set(flags "${CXX_FLAGS}")
if(SANITIZE)
  set(flags "${flags} -fsanitize=address,undefined")
endif()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# find_package(CoreKit80)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
    -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${flags}" -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)
if(NOT last_output MATCHES "consumer ok")
  message(FATAL_ERROR "consumer printed: ${last_output}")
endif()

# pkg-config
file(GLOB pcdirs ${prefix}/lib*/pkgconfig ${prefix}/lib/*/pkgconfig)
list(JOIN pcdirs ":" pcpath)
set(ENV{PKG_CONFIG_PATH} "${pcpath}")
run(pkg-config --cflags --libs corekit80)
string(STRIP "${last_output}" pcflags)
separate_arguments(pcflags UNIX_COMMAND "${pcflags}")
separate_arguments(cxxflags UNIX_COMMAND "${flags}")
run(${CXX} ${cxxflags} ${SOURCE_DIR}/main.cpp -o ${WORK_DIR}/consumer_pc ${pcflags})
file(GLOB libdirs ${prefix}/lib ${prefix}/lib/*)
list(JOIN libdirs ":" ldpath)
set(ENV{LD_LIBRARY_PATH} "${ldpath}")
run(${WORK_DIR}/consumer_pc)
if(NOT last_output MATCHES "consumer ok")
  message(FATAL_ERROR "pkg-config consumer printed: ${last_output}")
endif()
