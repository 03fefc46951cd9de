#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Columns aligned for a terminal; Chinese characters count two columns.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header) { rows_.push_back(std::move(header)); }

    void addRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    void print(std::ostream& out, std::string_view indent = "") const;

    static std::size_t displayWidth(std::string_view utf8);

private:
    std::vector<std::vector<std::string>> rows_;
};
