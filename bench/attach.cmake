# Adds the benchmark programs to a build of the whole project when the
# top-level CMakeLists.txt does not add bench/ itself:
#   cmake -S . -B build-bench -DCMAKE_PROJECT_INCLUDE=$PWD/bench/attach.cmake
# They need the project's own targets, so they are defined once the top-level
# file has been read to its end.
function(tarnwell_attach_bench)
  if(NOT TARGET bench_floor)
    include(${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tarnwell_attach_bench)
