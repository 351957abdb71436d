// Laid out as the .clang-format at the top of the tree says: the format check passes it.
#include <string>

namespace fixture {

int Count(const std::string& text) {
    int n = 0;
    for (char c : text)
        if (c == ' ') ++n;
    return n;
}

}  // namespace fixture
