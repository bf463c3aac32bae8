#pragma once
// The program's identity; the About window's texts join it later.
namespace kelm {

inline constexpr const char* kAppTitle = "Kelm屏幕提示框";

} // namespace kelm
