#include "remote/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using toolkit::RemoteAction;

remote::Invocation parse(std::vector<std::string> args) {
    args.insert(args.begin(), "kelm-prompt");
    return remote::ParseCommandLine(args);
}

// Whatever is wrong, the process says what and changes nothing anywhere.
TEST(CommandLine, UsageErrorsEndWithStatusTwoAndSayWhat) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } rows[] = {
        {{"--text"}, "选项缺少值 (missing value): --text"},
        {{"--text", "a", "b"}, "多余的参数 (unexpected argument): b"},
        {{"notes.txt"}, "多余的参数 (unexpected argument): notes.txt"},
        {{"--get-text", "x"}, "多余的参数 (unexpected argument): x"},
        {{"--show", "--hide"}, "一次只能给一个命令 (one command at a time): --hide"},
        {{"--quit=now"}, "选项不带值 (takes no value): --quit"},
        {{"--version=2"}, "选项不带值 (takes no value): --version"},
        {{"--text", "\xe4\xbd"}, "文字不是有效的 UTF-8 (TEXT is not valid UTF-8)"},
        {{"--text=\xc0\xaf"}, "文字不是有效的 UTF-8"},            // overlong '/'
        {{"--text", "\xf4\x90\x80\x80"}, "文字不是有效的 UTF-8"}, // beyond U+10FFFF
        {{"--text", std::string(16384, 'x') + "\xf0\x9f\x98\x80" + std::string(16382, 'x')},
         "文字超过 32767 个字符"}, // counted as the text box counts: 32768 units
        {{"-"}, "多余的参数 (unexpected argument): -"},
        {{"--\xff"}, "未知选项 (unknown option) ?"},
    };
    for (const auto& r : rows) {
        const remote::Invocation i = parse(r.args);
        SCOPED_TRACE(r.args.front());
        EXPECT_EQ(i.status, 2);
        EXPECT_NE(i.output.find(r.says), std::string::npos) << i.output;
        EXPECT_NE(i.output.find("用法 (usage): kelm-prompt"), std::string::npos);
    }
}

// The end-to-end tests pass with --show or --hide taken for --toggle.
TEST(CommandLine, EachCommandAndItsText) {
    const std::string longest(32767, 'x');
    const struct {
        std::vector<std::string> args;
        RemoteAction action;
        std::string text;
        bool plain = false;
    } rows[] = {
        {{}, RemoteAction::Present, "", true},
        {{"--text", "字幕 one"}, RemoteAction::SetText, "字幕 one"},
        {{"--text=a=b"}, RemoteAction::SetText, "a=b"},
        {{"--text="}, RemoteAction::SetText, ""},
        {{"--text", "--quit"}, RemoteAction::SetText, "--quit"},
        {{"-text", "-5"}, RemoteAction::SetText, "-5"},
        {{"--text", longest}, RemoteAction::SetText, longest},
        {{"--get-text"}, RemoteAction::GetText, ""},
        {{"--show"}, RemoteAction::Show, ""},
        {{"--hide"}, RemoteAction::Hide, ""},
        {{"--toggle"}, RemoteAction::Toggle, ""},
        {{"--lock"}, RemoteAction::Lock, ""},
        {{"--unlock"}, RemoteAction::Unlock, ""},
        {{"--quit"}, RemoteAction::Quit, ""},
    };
    for (const auto& r : rows) {
        const remote::Invocation i = parse(r.args);
        SCOPED_TRACE(r.args.empty() ? "(none)" : r.args.front());
        EXPECT_FALSE(i.status) << i.output;
        EXPECT_EQ(i.plainStart, r.plain);
        EXPECT_EQ(i.request.action, r.action);
        EXPECT_EQ(i.request.text, r.text);
    }
    EXPECT_EQ(parse({"--text", "x", "--version"}).status, 0);
}

} // namespace
