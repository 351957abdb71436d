# Sources that do not include windows.h: built into the DLL and, natively, into the
# unit tests, fuzzers and benchmarks. Paths are relative to the project root.
set(OMBRISK_PORTABLE_SOURCES
)
list(TRANSFORM OMBRISK_PORTABLE_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")
