# The one configuration of the Windows build, preloaded with `cmake -C`: the release that goes
# into the zip (-O2, no debug data, stripped, reproducible file names and no link time stamp).
# The tests build and run the same programs (tools/test.sh), so that what is tested is what ships
# and the zip needs no build of its own; tools/run.sh and tools/package.sh use it too.
set(CMAKE_BUILD_TYPE Release CACHE STRING "" FORCE)
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "" FORCE)
set(CMAKE_EXE_LINKER_FLAGS "-s" CACHE STRING "" FORCE)
set(NOCTURO_REPRODUCIBLE ON CACHE BOOL "" FORCE)
