// Deliberately not laid out as the .clang-format says (two-space indent, a brace on its own line):
// the test build.format_rejects_unformatted expects the format check to name this file.
#include <string>

namespace fixture {

int Words(const std::string& text)
{
  int n = 0;
  for (char c : text) if (c == ' ') ++n;
  return n + 1;
}

}  // namespace fixture
