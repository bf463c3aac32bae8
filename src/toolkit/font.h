#pragma once
#include <string>

namespace toolkit {

struct Font {
    std::string Name;
    double Size = 9; // points, fixed point with four decimals
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int Weight = 400;
    int Charset = 0;
};

} // namespace toolkit
