#pragma once
// Names read from model files are printed on the console; a hostile file could put
// line breaks or terminal escapes in them. This copy shows control bytes as '?'.

#include <string>

inline std::string consoleName(std::string name)
{
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return name;
}
