// Reading tests/data/varformat-windows.tsv, Windows' own formatting results: tab-separated
// cells, text cells in double quotes with the escapes \\ \" \t \n. Standard C++ only, so the
// native unit tests and the Wine client read the table alike.
#pragma once

#include <string>
#include <vector>

namespace varformat_table {

// The cells of one line, split at every sep (an empty line gives one empty cell).
inline std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == sep) {
            cells.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return cells;
}

// A quoted cell with the table's escapes undone ("" for a cell shorter than its quotes).
inline std::string Unquote(const std::string& cell) {
    std::string out;
    if (cell.size() < 2) return out;
    for (size_t i = 1; i + 1 < cell.size(); ++i) {
        char c = cell[i];
        if (c == '\\' && i + 2 < cell.size()) {
            c = cell[++i];
            if (c == 't') c = '\t';
            else if (c == 'n') c = '\n';
        }
        out += c;
    }
    return out;
}

}  // namespace varformat_table
