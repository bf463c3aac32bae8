#include "pickers.h"

#include "numbers.h"
#include "prompt/form1.h"
#include "settings/settings_window.h"
#include "toolkit/program.h"
#include "toolkit/realisation.h"

#include <cmath>

namespace FMain {

int32_t PickColor() {
    const auto colour =
        toolkit::CurrentRealisation().chooseColor(toolkit::Instance<Form1>().hWnd());
    toolkit::ContinueEndingIfNeeded();
    return colour.value_or(-1);
}

void PickFont() {
    const toolkit::TextBox& text = toolkit::Instance<Form1>().Text1;
    toolkit::FontSeed seed;
    seed.font = text.Font();
    seed.points = RoundToLong(text.Font().Size); // 14.5 opens at 14
    seed.color = text.ForeColor();
    seed.minPoints = 8;
    seed.maxPoints = 72;
    const auto choice = toolkit::CurrentRealisation().chooseFont(seed);
    toolkit::ContinueEndingIfNeeded();
    if (!choice)
        return;
    设置& settings = toolkit::Instance<设置>();
    settings.FName.setText(choice->face);
    settings.FSize.setText(NumberText(choice->points));
}

} // namespace FMain
