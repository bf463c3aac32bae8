#include "config.h"

#include "numbers.h"
#include "toolkit/realisation.h"

namespace FMain {

std::string ValueText(const ConfigValue& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_integral_v<T>)
                return NumberText(static_cast<int64_t>(v));
            else
                return NumberText(v);
        },
        value);
}

std::string GetConfig(const std::string& key, const ConfigValue& fallback) {
    auto stored = toolkit::CurrentRealisation().store().read(std::string(kAppName),
                                                             std::string(kSection), key);
    return stored ? *stored : ValueText(fallback);
}

void SaveConfig(const std::string& key, const ConfigValue& value) {
    toolkit::CurrentRealisation().store().write(std::string(kAppName), std::string(kSection), key,
                                                ValueText(value));
}

} // namespace FMain
