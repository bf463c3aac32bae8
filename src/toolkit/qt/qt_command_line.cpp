#include "qt_command_line.h"

#include "product_config.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace toolkit::qt {

namespace {

constexpr const char* kUsage = "用法 (usage): kelm-prompt [--help | --version]\n";

// Qt's own options, which QApplication reads and removes later; a session manager restarts the
// program with -session.
const char* const kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

[[noreturn]] void refuse(const QString& what) {
    std::fprintf(stderr, "kelm-prompt: %s\n%s", what.toLocal8Bit().constData(), kUsage);
    std::exit(2);
}

} // namespace

void ApplyCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return;
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help", "?"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOption(help);
    parser.addOption(version);
    for (const char* name : kQtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("v")));
    for (const char* name : kQtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    if (!parser.parse(args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            refuse(parser.errorText());
        // Named as typed, dashes and all.
        QString typed = unknown.first();
        for (const QString& a : args.mid(1)) {
            QString name = a.section(QLatin1Char('='), 0, 0);
            while (name.startsWith(QLatin1Char('-')))
                name.remove(0, 1);
            if (a.startsWith(QLatin1Char('-')) && name == unknown.first()) {
                typed = a.section(QLatin1Char('='), 0, 0);
                break;
            }
        }
        refuse(QStringLiteral("未知选项 (unknown option) %1").arg(typed));
    }
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        std::fputs("Kelm屏幕提示框：浮在所有窗口之上的一行文字。\n"
                   "A line of text that floats above every window.\n\n"
                   "  -h, --help     显示此帮助 (show this help)\n"
                   "  -v, --version  显示版本 (show the version)\n",
                   stdout);
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::fputs("kelm-prompt " KELM_VERSION "\n" KELM_COPYRIGHT "\n"
                   "许可证 (license): " KELM_LICENSE "\n",
                   stdout);
        std::exit(0);
    }
    if (!parser.positionalArguments().isEmpty())
        refuse(QStringLiteral("不接受参数 (takes no arguments): %1")
                   .arg(parser.positionalArguments().join(QLatin1Char(' '))));
}

} // namespace toolkit::qt
