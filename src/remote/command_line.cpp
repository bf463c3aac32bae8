#include "command_line.h"

#include "product_config.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace remote {

namespace {

using toolkit::RemoteAction;

constexpr const char* kUsage =
    "用法 (usage): kelm-prompt [--text TEXT | --get-text | --show | --hide | --toggle | --lock |\n"
    "                          --unlock | --quit | --help | --version]\n";

constexpr const char* kHelp =
    "Kelm屏幕提示框：浮在所有窗口之上的一行文字。\n"
    "A line of text that floats above every window.\n\n"
    "不带选项时启动提示框；已在运行时把它显示出来。\n"
    "Without an option it starts the prompt, or shows the one that runs.\n\n"
    "  --text TEXT    运行中的提示框显示 TEXT (the running prompt shows TEXT)\n"
    "  --get-text     输出运行中的提示框的文字 (print the running prompt's text)\n"
    "  --show         显示提示框 (show the prompt)\n"
    "  --hide         隐藏提示框 (take the prompt off the screen)\n"
    "  --toggle       显示或隐藏提示框 (show or hide the prompt)\n"
    "  --lock         鼠标穿透提示框 (let the pointer pass through the prompt)\n"
    "  --unlock       取消鼠标穿透 (take the pointer back)\n"
    "  --quit         保存并退出提示框 (save and end the prompt)\n"
    "  -h, --help     显示此帮助 (show this help)\n"
    "  -v, --version  显示版本 (show the version)\n\n"
    "没有提示框运行时，--text、--show 和 --toggle 会启动一个。\n"
    "With no prompt running, --text, --show and --toggle start one.\n";

// What the text box can hold: a longer text would be cut without a word.
constexpr size_t kMaxTextUnits = 32767;

struct Command {
    std::string_view name;
    RemoteAction action;
};
constexpr std::array<Command, 8> kCommands = {{
    {"text", RemoteAction::SetText},
    {"get-text", RemoteAction::GetText},
    {"show", RemoteAction::Show},
    {"hide", RemoteAction::Hide},
    {"toggle", RemoteAction::Toggle},
    {"lock", RemoteAction::Lock},
    {"unlock", RemoteAction::Unlock},
    {"quit", RemoteAction::Quit},
}};

Invocation answer(int status, std::string output) {
    Invocation i;
    i.status = status;
    i.output = std::move(output);
    return i;
}

Invocation usageError(const std::string& what) {
    return answer(2, "kelm-prompt: " + what + "\n" + kUsage);
}

// The code points of valid UTF-8 as UTF-16 units, or nothing for anything else (overlong forms,
// surrogates, beyond U+10FFFF, cut sequences).
std::optional<size_t> utf16Units(std::string_view s) {
    size_t units = 0;
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int more = 0;
        uint32_t cp = 0;
        if (b < 0x80) {
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            more = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3;
            cp = b & 0x07;
        } else {
            return std::nullopt;
        }
        if (s.size() - i <= size_t(more))
            return std::nullopt;
        for (int k = 1; k <= more; ++k) {
            const auto c = static_cast<unsigned char>(s[i + size_t(k)]);
            if ((c & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return std::nullopt;
        units += cp >= 0x10000 ? 2 : 1;
        i += size_t(more) + 1;
    }
    return units;
}

} // namespace

std::optional<std::string> TextProblem(const std::string& text) {
    const auto units = utf16Units(text);
    if (!units)
        return "文字不是有效的 UTF-8 (TEXT is not valid UTF-8)";
    if (*units > kMaxTextUnits)
        return "文字超过 32767 个字符 (TEXT is longer than 32767 characters)";
    return std::nullopt;
}

bool StartsWhenAlone(RemoteAction action) {
    return action == RemoteAction::Present || action == RemoteAction::SetText ||
           action == RemoteAction::Show || action == RemoteAction::Toggle;
}

std::string ReplyProblem(const toolkit::RemoteReply& reply) {
    using Status = toolkit::RemoteReply::Status;
    switch (reply.status) {
    case Status::Done:
        return {};
    case Status::Refused:
        return "kelm-prompt: " + reply.text;
    case Status::NoPrompt:
        return "kelm-prompt: 没有运行中的提示框 (no prompt is running)" +
               (reply.text.empty() ? std::string() : ": " + reply.text);
    case Status::Unreachable:
        return "kelm-prompt: 无法联系提示框 (the prompt cannot be reached): " + reply.text;
    case Status::NoAnswer:
        break;
    }
    return "kelm-prompt: 运行中的提示框没有应答 (the running prompt did not answer)" +
           (reply.text.empty() ? std::string() : ": " + reply.text);
}

Invocation ParseCommandLine(const std::vector<std::string>& args) {
    Invocation result;
    bool help = false, version = false;
    const Command* command = nullptr;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            const std::string shown = utf16Units(arg) ? arg : "?";
            return usageError("多余的参数 (unexpected argument): " + shown);
        }
        // Long options take one dash or two, as Qt's own do.
        std::string_view name = std::string_view(arg).substr(arg[1] == '-' ? 2 : 1);
        std::optional<std::string> value;
        if (const size_t eq = name.find('='); eq != std::string_view::npos) {
            value = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        const std::string typed = arg.substr(0, arg.size() - (value ? value->size() + 1 : 0));
        if (name == "h" || name == "help" || name == "?" || name == "v" || name == "version") {
            if (value)
                return usageError("选项不带值 (takes no value): " + typed);
            (name == "v" || name == "version" ? version : help) = true;
            continue;
        }
        const Command* found = nullptr;
        for (const Command& c : kCommands)
            if (name == c.name)
                found = &c;
        if (!found) {
            const std::optional<bool> takesValue = toolkit::ToolkitOption(name);
            if (!takesValue)
                return usageError("未知选项 (unknown option) " + (utf16Units(typed) ? typed : "?"));
            result.toolkitOptions.push_back(arg);
            if (*takesValue && !value) {
                if (++i >= args.size())
                    return usageError("选项缺少值 (missing value): " + typed);
                result.toolkitOptions.push_back(args[i]);
            }
            continue;
        }
        if (command)
            return usageError("一次只能给一个命令 (one command at a time): " + typed);
        command = found;
        if (found->action == RemoteAction::SetText) {
            if (!value) {
                if (i + 1 >= args.size())
                    return usageError("选项缺少值 (missing value): " + typed);
                value = args[++i];
            }
            if (const auto problem = TextProblem(*value))
                return usageError(*problem);
            result.request.text = *value;
        } else if (value) {
            return usageError("选项不带值 (takes no value): " + typed);
        }
    }
    if (help)
        return answer(0, std::string(kUsage) + kHelp);
    if (version)
        return answer(0, "kelm-prompt " KELM_VERSION "\n" KELM_COPYRIGHT "\n"
                         "许可证 (license): " KELM_LICENSE "\n");
    if (command) {
        result.request.action = command->action;
        result.plainStart = false;
    }
    return result;
}

} // namespace remote
