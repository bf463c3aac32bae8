// A frameless, stays-on-top window of the prompt's default size with one line edit.
#include <QApplication>
#include <QLineEdit>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("kelm-floor"));
    window.resize(200, 47);
    QLineEdit edit(QStringLiteral("[文本内容]"), &window);
    edit.setGeometry(0, 10, 200, 27);
    window.show();
    return app.exec();
}
