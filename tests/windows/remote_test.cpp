// Requests from other processes: none takes the keyboard focus or moves the window but a second
// start's, and the end one asks for saves as 退出 does.
#include "fixture.h"

#include "prompt/form1.h"
#include "remote/remote_service.h"
#include "services/window_services.h"
#include "settings/settings_window.h"

#include <vector>

namespace S = FMain::Settings;
using toolkit::RemoteAction;
using Status = toolkit::RemoteReply::Status;

namespace {

using RemoteTest = WindowTest;

toolkit::RemoteReply send(RemoteAction action, const std::string& text = {}) {
    const toolkit::RemoteReply reply = remote::Answer({action, text});
    driver::Pump();
    return reply;
}

std::vector<float> place(const toolkit::Window& w) {
    return {w.Left(), w.Top(), w.Width(), w.Height()};
}

TEST_F(RemoteTest, CommandsChangeWhatTheySayAndLeaveTheFocusWhereItIs) {
    Form1& prompt = toolkit::Instance<Form1>();
    prompt.Show();
    prompt.setLeft(1500);
    prompt.setTop(900);
    FMain::SetAlpha(200);
    设置& other = toolkit::Instance<设置>();
    other.Show();
    driver::Pump();
    // Where every window shown takes the focus, there is no focus to keep.
    const bool focus = !driver::ShowingActivates();
    ASSERT_TRUE(!focus || driver::Native(other).active);
    const std::vector<float> before = place(prompt);
    const struct {
        RemoteAction action;
        std::string text;
        bool visible, passThrough;
        std::string shown;
    } steps[] = {
        {RemoteAction::Lock, "", true, true, "[文本内容]"},
        {RemoteAction::SetText, "锁着也能改", true, true, "锁着也能改"},
        {RemoteAction::Hide, "", false, true, "锁着也能改"},
        {RemoteAction::SetText, "", false, true, ""},
        {RemoteAction::Toggle, "", true, true, ""},
        {RemoteAction::Toggle, "", false, true, ""},
        {RemoteAction::Show, "", true, true, ""},
        {RemoteAction::Show, "", true, true, ""},
        {RemoteAction::Unlock, "", true, false, ""},
        {RemoteAction::Hide, "", false, false, ""},
        {RemoteAction::Lock, "", false, true, ""},
        {RemoteAction::Present, "", true, false, ""}, // a second start: back, unlocked
    };
    int n = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        EXPECT_EQ(send(s.action, s.text).status, Status::Done);
        const driver::WindowState native = driver::Native(prompt);
        EXPECT_EQ(std::vector<bool>({prompt.Visible(), native.visible, prompt.PassThrough(),
                                     native.passThrough, focus && native.active}),
                  std::vector<bool>({s.visible, s.visible, s.passThrough, s.passThrough, false}));
        EXPECT_EQ(native.alpha, 200);
        EXPECT_EQ(place(prompt), before);
        EXPECT_EQ(native.clientWidth, Pixels(before[2]));
        EXPECT_EQ(prompt.Text1.Text(), s.shown);
        EXPECT_EQ(send(RemoteAction::GetText).text, s.shown);
        EXPECT_TRUE(!focus || driver::Native(other).active);
    }
    // Hidden out of reach, a second start brings it back onto the screen.
    const toolkit::Rect screen = toolkit::CurrentRealisation().screens().front().work;
    prompt.setLeft(screen.left + screen.width - 600);
    prompt.setTop(screen.top - 300);
    send(RemoteAction::Hide);
    EXPECT_EQ(send(RemoteAction::Present).status, Status::Done);
    EXPECT_EQ(place(prompt),
              std::vector({screen.left + screen.width - 3000, screen.top, 3000.f, before[3]}));
}

// Refused: nothing changes.
TEST_F(RemoteTest, TextsTheBoxCannotHoldAreRefused) {
    Form1& prompt = toolkit::Instance<Form1>();
    prompt.Show();
    send(RemoteAction::SetText, "旧的");
    for (const std::string& text :
         {std::string("\xff"), std::string("a\xed\xa0\x80"), std::string(32768, 'x')}) {
        const toolkit::RemoteReply reply = send(RemoteAction::SetText, text);
        EXPECT_EQ(reply.status, Status::Refused);
        EXPECT_FALSE(reply.text.empty());
        EXPECT_EQ(prompt.Text1.Text(), "旧的");
    }
    EXPECT_EQ(send(RemoteAction::SetText, std::string(32767, 'x')).status, Status::Done);
}

// Hidden or shown, the end saves the text and the place; a save the store refuses is told to the
// caller, not to a message box nobody may be there to answer.
TEST_F(RemoteTest, QuitSavesAsExitDoesAndTellsTheCallerOfAFailure) {
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "store refuses" : "store works");
        toolkit::ResetEnding();
        driver::ClearStore();
        seed(S::Text, "以前的");
        Form1& prompt = toolkit::Instance<Form1>();
        prompt.Show();
        prompt.setLeft(750);
        send(RemoteAction::SetText, "新的");
        send(RemoteAction::Hide);
        toolkit::Instance<设置>();
        if (broken)
            driver::BreakStore();
        const toolkit::RemoteReply reply = send(RemoteAction::Quit);
        EXPECT_EQ(reply.status, broken ? Status::Refused : Status::Done);
        EXPECT_EQ(reply.text.find("无法保存设置"), broken ? 0 : std::string::npos);
        EXPECT_TRUE(toolkit::Ending());
        EXPECT_TRUE(toolkit::Forms().empty());
        EXPECT_EQ(toolkit::ExitStatus(), broken ? 1 : 0);
        driver::RepairStore();
        EXPECT_EQ(stored(S::Text), broken ? "以前的" : "新的");
        EXPECT_EQ(stored(S::Left), broken ? std::nullopt : std::optional<std::string>("750"));
        EXPECT_EQ(send(RemoteAction::GetText).status, Status::NoAnswer);
    }
}

} // namespace
