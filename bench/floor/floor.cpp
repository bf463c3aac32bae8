// A frameless, stays-on-top window of the prompt's default size with one line edit.
//   kelm-floor [FACE [POINTS [bold]]]: the line edit asks for that face, as the program's does.
#include <QApplication>
#include <QLineEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("kelm-floor"));
    window.resize(200, 47);
    QLineEdit edit(&window);
    // The face first: text laid out in the default face first would be laid out twice.
    if (argc > 1) {
        QFont font(QString::fromLocal8Bit(argv[1]));
        if (argc > 2)
            font.setPointSizeF(QByteArray(argv[2]).toDouble());
        font.setBold(argc > 3 && QByteArray(argv[3]) == "bold");
        edit.setFont(font);
    }
    edit.setText(QStringLiteral("[文本内容]"));
    edit.setGeometry(0, 10, 200, 27);
    window.show();
    return app.exec();
}
