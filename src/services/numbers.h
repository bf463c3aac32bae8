#pragma once
// The conversions between stored or typed text and numbers. Pure functions: no toolkit.
#include <cstdint>
#include <string>
#include <string_view>

namespace FMain {

// Reads as much of a number as the text begins with; never fails. Spaces, tabs and line feeds
// anywhere are ignored; &H and &O introduce hexadecimal and octal integers; D is an exponent
// letter like E. A text without a number at its start reads as 0; one too large reads as
// infinity, which every later conversion refuses.
double LeadingNumber(std::string_view text);

// The whole text must be one number (surrounding spaces allowed); raises "类型不匹配" otherwise.
double NumberStrict(std::string_view text);

// Narrowing conversions; each raises "溢出" for a value outside its range.
float ToSingle(double value);
int32_t RoundToLong(double value); // half to even
uint8_t RoundToByte(double value); // half to even
uint8_t ByteStrict(std::string_view text);

// The text a number is stored and shown as: 3000, 14.5, -120; up to 7 significant digits for
// single precision and 15 for double, exponent form (1E+20) only where needed.
std::string NumberText(float value);
std::string NumberText(double value);
std::string NumberText(int64_t value);
// A font size: fixed point with at most four decimals and no trailing zeros ("14.25", "12").
std::string FixedPointText(double value);

} // namespace FMain
