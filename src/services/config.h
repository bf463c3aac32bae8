#pragma once
// The settings store as the windows see it: every entry lives under application "PUPNAME",
// section "APPNAME", with a key made of the program's prefix and a suffix from the table below.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace FMain {

using ConfigValue = std::variant<std::string, int16_t, int32_t, float, double>;

inline constexpr std::string_view kKeyPrefix = "Kelm-文本提示框";
inline constexpr std::string_view kAppName = "PUPNAME";
inline constexpr std::string_view kSection = "APPNAME";

// Every entry the program keeps, with the default its readers pass.
struct Setting {
    std::string_view suffix;
    ConfigValue fallback;
    std::string key() const { return std::string(kKeyPrefix) + std::string(suffix); }
};

namespace Settings {
inline const Setting Text{"_文本内容", std::string("[文本内容]")};
inline const Setting Left{"_left", int16_t{0}};
inline const Setting Top{"_top", int16_t{0}};
inline const Setting Width{"_Width", int16_t{3000}};
inline const Setting Height{"_Height", int16_t{705}};
inline const Setting FontSize{"_字体大小", 14.5};
inline const Setting FontName{"_字体名称", std::string("微软雅黑")};
inline const Setting FontColor{"_字体颜色", int32_t{16777215}};
inline const Setting BackColor{"_背景颜色", int32_t{4210752}};
inline const Setting BoxHeight{"_文本框高度", int16_t{705}};
inline const Setting Alpha{"_透明度", int16_t{255}};
} // namespace Settings

// The text form of a value: text as it is, numbers as their number text.
std::string ValueText(const ConfigValue& value);

// The stored text, even when empty; the default's text form when the entry does not exist.
std::string GetConfig(const std::string& key, const ConfigValue& fallback);
inline std::string GetConfig(const Setting& s) {
    return GetConfig(s.key(), s.fallback);
}

// Stores the value's text form; raises the store's error when the write is refused. While a
// ConfigBatch is open the value is kept until the batch is committed.
void SaveConfig(const std::string& key, const ConfigValue& value);

// Values that belong together (the text and the place saved at exit) reach the store in one
// write, so that an interruption never leaves half of them saved.
class ConfigBatch {
  public:
    ConfigBatch();
    ~ConfigBatch(); // an uncommitted batch is dropped
    ConfigBatch(const ConfigBatch&) = delete;
    ConfigBatch& operator=(const ConfigBatch&) = delete;
    // Writes what was saved since the batch opened; raises the store's error when refused.
    void Commit();
};

} // namespace FMain
