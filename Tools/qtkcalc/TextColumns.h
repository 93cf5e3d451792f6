// Text in columns on a terminal: East Asian characters take two cells.
#pragma once

#include <algorithm>
#include <string>

inline int DisplayWidth(const std::string& text)
{
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int bytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        width += bytes >= 3 ? 2 : 1;
        i += static_cast<size_t>(bytes);
    }
    return width;
}

inline std::string PadLeft(const std::string& text, int width)
{
    return std::string(static_cast<size_t>(std::max(0, width - DisplayWidth(text))), ' ') + text;
}

inline std::string PadRight(const std::string& text, int width)
{
    return text + std::string(static_cast<size_t>(std::max(0, width - DisplayWidth(text))), ' ');
}
