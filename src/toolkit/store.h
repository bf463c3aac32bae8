#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

// The per-user key/value settings store, addressed by application name, section and key.
class Store {
  public:
    using Entries = std::vector<std::pair<std::string, std::string>>; // key, value

    virtual ~Store() = default;
    // The stored text, even when empty; nothing when the entry does not exist or the store
    // cannot be read.
    virtual std::optional<std::string> read(const std::string& app, const std::string& section,
                                            const std::string& key) = 0;
    // Stores the entries together: where the medium allows, either all of them reach it or none
    // does. Raises RuntimeError when the store refuses the write; what was stored before stays.
    virtual void write(const std::string& app, const std::string& section,
                       const Entries& entries) = 0;
};

} // namespace toolkit
