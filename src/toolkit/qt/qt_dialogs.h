#pragma once
#include "toolkit/realisation.h"

#include <optional>

class QWidget;

namespace toolkit::qt {

std::optional<int32_t> ChooseColor(QWidget* owner);
std::optional<FontChoice> ChooseFont(const FontSeed& seed);

} // namespace toolkit::qt
