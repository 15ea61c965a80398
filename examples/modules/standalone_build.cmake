# Script run by ctest: installs the library into a scratch prefix and builds the sample
# module library from its own folder against it, as a third party builds one; the result
# must export the functions the host looks up.
include(${CMAKE_CURRENT_LIST_DIR}/../../tests/install_and_build.cmake)
run(nm -D --defined-only ${WORK_DIR}/build/libflowdeck_samples.so)
foreach(symbol TCCreateModule TCModuleTypeNames TCGetInterfaceVersionProvidedByModule
               TCGetInterfaceVersionRequiredByModule TCSerializeModule)
  if(NOT last_output MATCHES " T ${symbol}\n")
    message(FATAL_ERROR "libflowdeck_samples.so does not export ${symbol}:\n${last_output}")
  endif()
endforeach()
