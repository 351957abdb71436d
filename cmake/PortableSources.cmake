# The portable core: every source in core/ is standard C++ without windows.h. It is built into
# the DLL and, natively, into the unit tests, fuzzers and benchmarks.
file(GLOB OMBRISK_PORTABLE_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/core/*.cpp)
