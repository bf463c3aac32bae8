#pragma once
#include <stdexcept>
#include <string>

namespace toolkit {

// The run-time error of the toolkit: what a refused property, a failed conversion or a refused
// store write raises. Only handlers that say so trap it; anywhere else it ends the program with a
// message box (see dispatch.h).
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
    std::string Description() const { return what(); }
};

inline constexpr const char* kTypeMismatch = "类型不匹配";
inline constexpr const char* kOverflow = "溢出";
inline constexpr const char* kInvalidPropertyValue = "无效的属性值";
inline constexpr const char* kOutOfMemory = "内存不足";
inline constexpr const char* kInternalError = "内部错误";

} // namespace toolkit
