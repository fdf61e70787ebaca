#include "server/pages/html.hpp"

#include "server/pages/static_paths.hpp"

namespace board::pages {

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string document(std::string_view title, std::string_view head, std::string_view body) {
    std::string out;
    out.reserve(body.size() + 512);
    out += "<!DOCTYPE html>\n<html lang=\"pt\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<title>";
    out += escaped(title);
    out += "</title>\n<link rel=\"stylesheet\" href=\"";
    out += STYLESHEET;
    out += "\">\n<link rel=\"icon\" type=\"image/svg+xml\" href=\"";
    out += ICON;
    out += "\">\n";
    out += head;
    out += "</head>\n<body>\n";
    out += body;
    out += "</body>\n</html>\n";
    return out;
}

std::string player_head(std::string_view page_script) {
    std::string head = "<link rel=\"stylesheet\" href=\"";
    head += PLAYER_STYLESHEET;
    head += "\">\n<script defer src=\"";
    head += PLAYER_SCRIPT;
    head += "\"></script>\n<script defer src=\"";
    head += page_script;
    head += "\"></script>\n";
    return head;
}

} // namespace board::pages
