#include "config.h"

#include "numbers.h"
#include "toolkit/realisation.h"

#include <optional>

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

namespace {
std::optional<toolkit::Store::Entries> g_batch;

void store(const toolkit::Store::Entries& entries) {
    toolkit::CurrentRealisation().store().write(std::string(kAppName), std::string(kSection),
                                                entries);
}
} // namespace

void SaveConfig(const std::string& key, const ConfigValue& value) {
    if (!g_batch) {
        store({{key, ValueText(value)}});
        return;
    }
    g_batch->emplace_back(key, ValueText(value));
}

ConfigBatch::ConfigBatch() {
    g_batch.emplace();
}

ConfigBatch::~ConfigBatch() {
    g_batch.reset();
}

void ConfigBatch::Commit() {
    if (!g_batch)
        return;
    const toolkit::Store::Entries entries = std::move(*g_batch);
    g_batch.reset();
    if (!entries.empty())
        store(entries);
}

} // namespace FMain
