#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talven"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Talven"));
    window.resize(745, 570);
    window.show();
    return app.exec();
}
