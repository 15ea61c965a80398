# Script run by ctest: installs the library into a scratch prefix and builds the sample
# module library from its own folder against it, as a third party builds one; the result
# must export the functions the host looks up.
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
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
    -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${flags}" -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(nm -D --defined-only ${WORK_DIR}/build/libflowdeck_samples.so)
foreach(symbol TCCreateModule TCModuleTypeNames TCGetInterfaceVersionProvidedByModule
               TCGetInterfaceVersionRequiredByModule TCSerializeModule)
  if(NOT last_output MATCHES " T ${symbol}\n")
    message(FATAL_ERROR "libflowdeck_samples.so does not export ${symbol}:\n${last_output}")
  endif()
endforeach()
