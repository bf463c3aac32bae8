#include "about_window.h"

#include "about_design.h"
#include "app/product.h"
#include "services/window_services.h"
#include "toolkit/program.h"

using namespace about_design;
using kelm::kAboutProducts;

关于::关于()
    : Window(about_design::Window()),
      Label1(*this, LabelAt(150, 150, 3690, 180, kelm::kAboutCredit)),
      Label2(*this, LabelAt(240, 480, 1170, 180, kelm::kAboutContact)),
      Frame1(*this, At(60, 1380, 6255, 2865, "作者其他软件")),
      Picture1(*this, about_design::Picture1()),
      Label3(*this, Grey(LabelAt(120, 4320, 2160, 180, kelm::kAboutMotto))),
      Label4(*this, Link(240, 420, 3945, 285, kAboutProducts[0].name), &Frame1),
      Label5(*this, Link(240, 990, 3945, 285, kAboutProducts[1].name), &Frame1),
      Label6(*this, Link(240, 1440, 3945, 285, kAboutProducts[2].name), &Frame1),
      ts(*this, ChangeLog()),
      Label7(*this, Link(240, 840, 3945, 285, "查看最新版本--Kelm屏幕提示框 20190218")),
      Label8(*this, Link(240, 1920, 4545, 195, kAboutProducts[3].name), &Frame1) {
    Label4.onClick = [this] { Label4_Click(); };
    Label5.onClick = [this] { Label5_Click(); };
    Label6.onClick = [this] { Label6_Click(); };
    Label7.onClick = [this] { Label7_Click(); };
    Label8.onClick = [this] { Label8_Click(); };
}

void 关于::Form_Load() {
    SetTs();
}

void 关于::SetTs() {
    ts.setText("verez---Kelm屏幕提示框\r\n"
               "更新日志:\r\n"
               "20190228-->>\r\n"
               "1、文本框双击可清空内容\r\n"
               "2、鼠标按住右下角可以改变文本框的宽度\r\n"
               "3、右键文件框可以调用设置菜单");
}

void 关于::Label4_Click() {
    FMain::ShellOpen(kAboutProducts[0].url);
}
void 关于::Label5_Click() {
    FMain::ShellOpen(kAboutProducts[1].url);
}
void 关于::Label6_Click() {
    FMain::ShellOpen(kAboutProducts[2].url);
}
void 关于::Label8_Click() {
    FMain::ShellOpen(kAboutProducts[3].url);
}

void 关于::Label7_Click() {
    toolkit::MsgBox("加QQ获取版本最新版", 64, "Kelm提示您");
}
