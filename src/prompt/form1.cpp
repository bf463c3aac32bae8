#include "form1.h"

#include "form1_design.h"
#include "layout.h"
#include "placement.h"
#include "services/config.h"
#include "services/numbers.h"
#include "services/window_services.h"
#include "settings/settings_window.h"
#include "toolkit/errors.h"
#include "toolkit/realisation.h"
#include "toolkit/screen.h"

using namespace FMain;
using toolkit::RuntimeError;

namespace {

// Applies a stored value; one the conversion or the window refuses gives way to the default,
// so that a damaged entry never stops the start-up.
template <class Convert, class Apply>
void restore(const Setting& setting, Convert convert, Apply apply) {
    try {
        apply(convert(GetConfig(setting)));
        return;
    } catch (const RuntimeError&) {
    }
    apply(convert(ValueText(setting.fallback)));
}

float strictSingle(const std::string& text) {
    return ToSingle(NumberStrict(text));
}
int32_t colour(const std::string& text) {
    return RoundToLong(LeadingNumber(text));
}
std::string asText(const std::string& text) {
    return text;
}
float leadingSingle(const std::string& text) {
    return ToSingle(LeadingNumber(text));
}

} // namespace

Form1::Form1() : Window(form1_design::Window()), Text1(*this, form1_design::Text1()) {
    Text1.onMouseDown = [this](const toolkit::MouseArgs& a) {
        Text1_MouseDown(a.Button, a.Shift, a.X, a.Y);
    };
    Text1.onMouseMove = [this](const toolkit::MouseArgs& a) {
        Text1_MouseMove(a.Button, a.Shift, a.X, a.Y);
    };
    Text1.onMouseUp = [this](const toolkit::MouseArgs& a) {
        Text1_MouseUp(a.Button, a.Shift, a.X, a.Y);
    };
    Text1.onDblClick = [this] { Text1_DblClick(); };
    Text1.onContextMenu = [this] { Text1_ContextMenu(); };
}

void Form1::Form_Load() {
    Text1.setText(GetConfig(Settings::Text));
    restore(Settings::Left, strictSingle, [this](float v) { setLeft(v); });
    restore(Settings::Top, strictSingle, [this](float v) { setTop(v); });
    restore(Settings::Width, strictSingle, [this](float v) { setWidth(v); });
    restore(Settings::Height, strictSingle, [this](float v) { setHeight(v); });
    restore(Settings::FontSize, LeadingNumber, [this](double v) { Text1.setFontSize(v); });
    restore(Settings::FontName, asText, [this](const std::string& v) { Text1.setFontName(v); });
    restore(Settings::FontColor, colour, [this](int32_t v) { Text1.setForeColor(v); });
    restore(Settings::BackColor, colour, [this](int32_t v) { Text1.setBackColor(v); });
    restore(Settings::BackColor, colour, [this](int32_t v) { setBackColor(v); });
    restore(Settings::BoxHeight, leadingSingle, [this](float v) { setHeight(v); });
    if (Text1.Text().empty())
        Text1.setText("[文本内容]");
    keepOnScreen();
    SetTopmost(hWnd());
    uint8_t alpha = 255;
    try {
        alpha = ByteStrict(GetConfig(Settings::Alpha));
    } catch (const RuntimeError&) {
    }
    if (alpha != 255)
        SetAlpha(alpha);
}

// A window left on a monitor that is gone, or under a panel, could not be reached again: unless
// enough of its text box to grab lies in a work area, it goes into the nearest one.
void Form1::keepOnScreen() {
    const toolkit::Realisation& r = toolkit::CurrentRealisation();
    // Where the text box will be once shown, whether or not a resize has placed it yet.
    const toolkit::Rect box{Text1.Left(), TextBoxTop(Height(), Text1.Height(), Text1.Font().Size),
                            TextBoxWidth(Width()), Text1.Height()};
    const auto place =
        BroughtWithinReach({Left(), Top(), Width(), Height()}, box, r.screens(), r.twipsPerPixel());
    if (place) {
        setLeft(place->left);
        setTop(place->top);
    }
}

void Form1::BringFullyOnScreen() {
    const Place place =
        InsideWorkArea({Left(), Top(), Width(), Height()}, toolkit::CurrentRealisation().screens());
    if (place.left != Left())
        setLeft(place.left);
    if (place.top != Top())
        setTop(place.top);
}

void Form1::Form_Resize() {
    Text1.setWidth(TextBoxWidth(Width()));
    CalcTop();
}

void Form1::CalcTop() {
    Text1.setTop(TextBoxTop(Height(), Text1.Height(), Text1.Font().Size));
}

void Form1::Form_Unload(int16_t& /*Cancel*/) {
    ConfigBatch batch;
    SaveConfig(Settings::Text.key(), Text1.Text());
    SaveConfig(Settings::Left.key(), Left());
    SaveConfig(Settings::Top.key(), Top());
    SaveConfig(Settings::Width.key(), Width());
    SaveConfig(Settings::Height.key(), Height());
    batch.Commit();
}

void Form1::Form_MouseDown(int16_t Button, int16_t /*Shift*/, float X, float /*Y*/) {
    if (Button == toolkit::vbLeftButton) {
        ResizeFlag = 0;
        if (X >= Width() - 200.0f)
            ResizeFlag = 1;
    } else if (Button == toolkit::vbRightButton) {
        showContextMenu();
    }
}

void Form1::Form_MouseMove(int16_t Button, int16_t /*Shift*/, float X, float /*Y*/) {
    setMousePointer(toolkit::vbSizeWE);
    const float screenWidth = toolkit::Screen::Width();
    if (Button != toolkit::vbLeftButton)
        return;
    if (ResizeFlag == 0) {
        setMousePointer(toolkit::vbArrow);
        return;
    }
    float width = X < 3000 ? 3000 : X;
    if (width > screenWidth)
        width = screenWidth;
    setWidth(width);
}

void Form1::Text1_MouseDown(int16_t Button, int16_t /*Shift*/, float /*X*/, float /*Y*/) {
    if (Button == toolkit::vbLeftButton) {
        DragWindow(hWnd(), Button);
    } else if (Button == toolkit::vbRightButton) {
        showContextMenuFromText1(nullptr);
    }
}

// As the right button does, with the menu at the box: there is no pointer to open it at.
void Form1::Text1_ContextMenu() {
    showContextMenuFromText1(&Text1);
}

// Disabled, the box cannot show its own edit menu over ours.
void Form1::showContextMenuFromText1(const toolkit::Control* at) {
    Text1.setEnabled(false);
    showContextMenu(at);
    Text1.setEnabled(true);
}

void Form1::Text1_MouseMove(int16_t Button, int16_t /*Shift*/, float /*X*/, float /*Y*/) {
    setMousePointer(toolkit::vbArrow);
    DragWindowOnLeft(hWnd(), Button);
}

void Form1::Text1_MouseUp(int16_t, int16_t, float, float) {}

void Form1::Text1_DblClick() {
    if (!Text1.Text().empty()) {
        Text1.Tag = Text1.Text();
        Text1.setText("");
    } else {
        Text1.setText(Text1.Tag);
    }
}

// The menu belongs to the settings window: the first one loads it, hidden.
void Form1::showContextMenu(const toolkit::Control* at) {
    const toolkit::Menu& menu = toolkit::Instance<设置>().Rightmenu;
    if (at)
        PopupMenu(menu, *at);
    else
        PopupMenu(menu);
}
