#pragma once
#include <optional>
#include <string>

namespace toolkit {

// The per-user key/value settings store, addressed by application name, section and key.
class Store {
  public:
    virtual ~Store() = default;
    // The stored text, even when empty; nothing when the entry does not exist or the store
    // cannot be read.
    virtual std::optional<std::string> read(const std::string& app, const std::string& section,
                                            const std::string& key) = 0;
    // Raises RuntimeError when the store refuses the write; what was stored before stays.
    virtual void write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

} // namespace toolkit
