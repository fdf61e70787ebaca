#include "console/ansi/size_notice.hpp"

#include "console/ansi/escapes.hpp"

#include <algorithm>
#include <sstream>

namespace console::ansi {
namespace {

std::vector<std::string> wrapped(const std::string& text, int width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        while (static_cast<int>(word.size()) > width) {
            if (!line.empty())
                lines.push_back(line);
            line.clear();
            lines.push_back(word.substr(0, static_cast<std::size_t>(width)));
            word.erase(0, static_cast<std::size_t>(width));
        }
        if (word.empty())
            continue;
        if (line.empty())
            line = word;
        else if (static_cast<int>(line.size() + 1 + word.size()) <= width)
            line += ' ' + word;
        else {
            lines.push_back(line);
            line = word;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

bool fits(Size have, Size need) {
    return have.columns >= need.columns && have.rows >= need.rows;
}

std::string size_notice(const std::vector<std::string>& paragraphs, Size have) {
    std::string out(clear_screen);
    int row = 1;
    for (const auto& paragraph : paragraphs) {
        for (const auto& line : wrapped(paragraph, std::max(1, have.columns))) {
            if (row > have.rows)
                return out;
            out += csi;
            out += std::to_string(row) + "H" + line;
            ++row;
        }
    }
    return out;
}

} // namespace console::ansi
