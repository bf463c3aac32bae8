#include "win32_dialogs.h"

#include "win32_input.h"
#include "win32_styles.h"
#include "win32_system_dll.h"
#include "win32_text.h"

#include <commdlg.h>

namespace toolkit::win32 {

std::optional<int32_t> ChooseColour(HWND owner) {
    static auto* const chooseColor =
        SystemFunction<decltype(ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.lpCustColors = custom;
    ModalLoop loop;
    VisualStyles styles;
    if (!chooseColor || !chooseColor(&cc))
        return std::nullopt;
    return int32_t(cc.rgbResult & 0xFFFFFF);
}

std::optional<FontChoice> ChooseFontFrom(const FontSeed& seed) {
    static auto* const chooseFont =
        SystemFunction<decltype(ChooseFontW)>(L"comdlg32.dll", "ChooseFontW");
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(seed.points, dpi, 72);
    lf.lfWeight = seed.font.Weight;
    lf.lfItalic = seed.font.Italic ? 255 : 0;
    lf.lfUnderline = seed.font.Underline ? 255 : 0;
    lf.lfStrikeOut = seed.font.Strikethrough ? 255 : 0;
    lf.lfCharSet = BYTE(seed.font.Charset);
    lstrcpynW(lf.lfFaceName, W(seed.font.Name).c_str(), LF_FACESIZE);
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags =
        CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_LIMITSIZE | CF_FORCEFONTEXIST;
    cf.rgbColors = COLORREF(seed.color);
    cf.nSizeMin = seed.minPoints;
    cf.nSizeMax = seed.maxPoints;
    ModalLoop loop;
    VisualStyles styles;
    if (!chooseFont || !chooseFont(&cf))
        return std::nullopt;
    // The size the user chose, in tenths of a point: no detour through the pixel height.
    return FontChoice{U8(lf.lfFaceName), cf.iPointSize / 10.0};
}

int MessageBoxFor(const std::string& text, int style, const std::string& title) {
    UINT icon = 0;
    switch (style & 0x70) {
    case 16:
        icon = MB_ICONERROR;
        break;
    case 32:
        icon = MB_ICONQUESTION;
        break;
    case 48:
        icon = MB_ICONWARNING;
        break;
    case 64:
        icon = MB_ICONINFORMATION;
        break;
    }
    ModalLoop loop;
    VisualStyles styles;
    MessageBoxW(GetActiveWindow(), W(text).c_str(), W(title).c_str(), MB_OK | icon | MB_TASKMODAL);
    return IDOK;
}

} // namespace toolkit::win32
