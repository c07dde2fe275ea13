# For a build tree of its own: reads tests/bench once the whole project is read, unless the
# project's CMake files already add it. Pass as -DCMAKE_PROJECT_INCLUDE=<this file>. (A deferred
# call may not add a directory, so the file is included into the top directory instead.)
function(netset_bench_attach)
  if(NOT TARGET bench_measure)
    include(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/CMakeLists.txt)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL netset_bench_attach)
