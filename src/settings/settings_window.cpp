#include "settings_window.h"

#include "about/about_window.h"
#include "prompt/form1.h"
#include "services/config.h"
#include "services/numbers.h"
#include "services/pickers.h"
#include "services/window_services.h"
#include "settings_design.h"
#include "toolkit/errors.h"
#include "toolkit/program.h"

#include <string>

using namespace FMain;
using toolkit::At;
using toolkit::LabelAt;
using toolkit::Named;

设置::设置()
    : Window(settings_design::Window()), Label1(*this, LabelAt(120, 120, 720, 180, "字体大小")),
      Label2(*this, LabelAt(120, 480, 720, 180, "字体名称")), FSize(*this, At(960, 120, 1935, 300)),
      Label3(*this, LabelAt(120, 840, 720, 180, "字体颜色")),
      Label4(*this, LabelAt(120, 1200, 720, 180, "背景颜色")),
      FName(*this, At(960, 480, 1935, 300)), FColor(*this, At(960, 840, 1935, 300)),
      BColor(*this, At(960, 1200, 1935, 300)), Command1(*this, At(2280, 2520, 1335, 495, "确认")),
      Command2(*this, Named(At(3000, 120, 615, 615, "获取"), "获取字体")),
      Command3(*this, Named(At(3000, 840, 615, 255, "…"), "选择字体颜色")),
      Command4(*this, At(1080, 2520, 1215, 495, "关闭")),
      Command5(*this, Named(At(3000, 1200, 615, 255, "…"), "选择背景颜色")),
      Command6(*this, At(120, 2520, 975, 495, "默认值")), mHeight(*this, At(1080, 1680, 1815, 300)),
      Label5(*this, LabelAt(120, 1680, 900, 180, "文本框高度")),
      Label6(*this, LabelAt(120, 2040, 540, 180, "透明度")),
      Trans(*this, At(1080, 2040, 1815, 300)), Line1(*this, settings_design::Line1()) {
    // A screen reader names each list by the label beside it.
    FSize.setLabel(Label1);
    FName.setLabel(Label2);
    FColor.setLabel(Label3);
    BColor.setLabel(Label4);
    mHeight.setLabel(Label5);
    Trans.setLabel(Label6);
    Rightmenu.Caption = "右键菜单";
    Rightmenu.Items = {{"参数设置", [this] { 参数设置_Click(); }},
                       {"关于作者", [this] { 关于作者_Click(); }},
                       {"退出", [this] { 退出_Click(); }}};
    Trans.onChange = [this] { Trans_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
}

void 设置::LoadParameter() {
    for (const char* size : {"10", "11", "12", "14", "16", "18", "20"})
        FSize.AddItem(size);
    for (const char* face : {"宋体", "楷体", "黑体", "微软雅黑", "华文彩云"})
        FName.AddItem(face);
    for (const char* colour :
         {"255 红色", "4210752 黑色", "65280 绿色", "16777215 白色", "16711680 蓝色"}) {
        FColor.AddItem(colour);
        BColor.AddItem(colour);
    }
    for (int i = 1; i <= 2000; i += 100)
        mHeight.AddItem(std::to_string(i + 405));
    for (int i = 255; i >= 0; i -= 20)
        Trans.AddItem(std::to_string(i));
}

void 设置::Form_Load() {
    LoadParameter();
    Form1& prompt = toolkit::Instance<Form1>();
    FSize.setText(FixedPointText(prompt.Text1.Font().Size));
    FName.setText(prompt.Text1.Font().Name);
    FColor.setText(NumberText(int64_t{prompt.Text1.ForeColor()}));
    BColor.setText(NumberText(int64_t{prompt.Text1.BackColor()}));
    mHeight.setText(NumberText(prompt.Height()));
    Trans.setText(GetConfig(Settings::Alpha));
}

// Keeps the transparency at or below 255 while it is typed; anything else is left as it is.
void 设置::Trans_Change() {
    if (LeadingNumber(Trans.Text()) > 255)
        Trans.setText("255");
}

void 设置::参数设置_Click() {
    Show();
}

void 设置::关于作者_Click() {
    toolkit::Instance<关于>().Show();
}

void 设置::退出_Click() {
    for (toolkit::Window* window : toolkit::Forms())
        toolkit::Unload(*window);
    toolkit::End();
}

// Each value that passes its test is applied and saved; the first error stops the rest and is
// shown, leaving what came before it applied and saved.
void 设置::Command1_Click() {
    try {
        Form1& prompt = toolkit::Instance<Form1>();
        const double size = LeadingNumber(FSize.Text());
        if (size > 0) {
            prompt.Text1.setFontSize(size);
            SaveConfig(Settings::FontSize.key(), size);
        }
        if (!FName.Text().empty()) {
            prompt.Text1.setFontName(FName.Text());
            SaveConfig(Settings::FontName.key(), FName.Text());
        }
        const double fore = LeadingNumber(FColor.Text());
        if (fore > 0) {
            prompt.Text1.setForeColor(RoundToLong(fore));
            SaveConfig(Settings::FontColor.key(), fore);
        }
        const double back = LeadingNumber(BColor.Text());
        if (back > 0) {
            const int32_t colour = RoundToLong(back);
            prompt.Text1.setBackColor(colour);
            prompt.setBackColor(colour);
            SaveConfig(Settings::BackColor.key(), back);
        }
        const double height = LeadingNumber(mHeight.Text());
        if (height > 0) {
            prompt.setHeight(ToSingle(NumberStrict(mHeight.Text())));
            SaveConfig(Settings::BoxHeight.key(), height);
        }
        // The test is on the byte the window gets: one that rounds to 0 (0.4, 0.5) would make
        // the window invisible, and on Windows let every click through, for good.
        const double alpha = LeadingNumber(Trans.Text());
        if (alpha > 0) {
            if (const uint8_t byte = RoundToByte(alpha); byte > 0) {
                SetAlpha(byte);
                SaveConfig(Settings::Alpha.key(), alpha);
            }
        }
        prompt.CalcTop();
    } catch (const toolkit::RuntimeError& e) {
        toolkit::MsgBox(e.Description(), 64);
    }
}

void 设置::Command2_Click() {
    PickFont();
}

void 设置::Command3_Click() {
    FColor.setText(NumberText(int64_t{PickColor()}));
}

void 设置::Command4_Click() {
    toolkit::Unload(*this);
}

void 设置::Command5_Click() {
    BColor.setText(NumberText(int64_t{PickColor()}));
}

// Only fills the lists: the defaults take effect with 确认.
void 设置::Command6_Click() {
    FSize.setText("14.5");
    FName.setText("微软雅黑");
    FColor.setText("16777215");
    BColor.setText("4210752");
    mHeight.setText("705");
    Trans.setText("255");
}
