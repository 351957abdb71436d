# Sources that do not include windows.h: built into the DLL and, natively, into the
# unit tests, fuzzers and benchmarks. Paths are relative to the project root.
set(OMBRISK_PORTABLE_SOURCES
  discovery/DiscoveryText.cpp
  discovery/IniFilesText.cpp
  discovery/RegistryData.cpp
  host/KeyParser.cpp
  host/SeparatorMath.cpp
  host/SpaceTokens.cpp
  host/reply/CopyData.cpp
  util/PercentTooltip.cpp
  host/CommandFile.cpp
  util/StringLists.cpp
  util/FormatCore.cpp
  util/ClipboardKeeping.cpp
  server/DispatchNames.cpp
)
list(TRANSFORM OMBRISK_PORTABLE_SOURCES PREPEND "${PROJECT_SOURCE_DIR}/")
