#pragma once
#include <functional>
#include <string>
#include <vector>

namespace toolkit {

struct MenuItem {
    std::string Caption;
    std::function<void()> Click;
};

// A top-level menu that is never shown as a menu bar, only popped up.
struct Menu {
    std::string Caption;
    std::vector<MenuItem> Items;
};

} // namespace toolkit
