#include "cli/JsonText.h"

#include <cstdio>

namespace vehmira::cli {

std::string JsonString(std::string_view utf8)
{
    std::string result = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': result += "\\\""; break;
        case '\\': result += "\\\\"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                result += escaped;
            } else {
                result += c;
            }
        }
    }
    return result + "\"";
}

} // namespace vehmira::cli
