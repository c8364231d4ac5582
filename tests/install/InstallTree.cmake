# Installs the build folder BUILD into the empty staging folder ROOT
# (DESTDIR) under the build's own prefix, as `cmake --install` does for a user.
#   cmake -DBUILD=... -DROOT=... -P InstallTree.cmake
file(REMOVE_RECURSE ${ROOT})
set(ENV{DESTDIR} ${ROOT})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD} failed: ${status}")
endif()
