#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QThread>
#include <QTranslator>

#include "common/qt/QtUserPort.h"
#include "platform/SystemClock.h"
#include "printing/qt/QtPrinterList.h"
#include "shell/ui/TForm1.h"
#include "shell/ui/TSplashForm.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Standard dialogs speak German.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    auto* splash = new TSplashForm();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Talven"));
    QApplication::setWindowIcon(QIcon(TSplashForm::Picture().copy(320, 90, 160, 160)));

    QtUserPort port;
    SystemClock clock;
    const QString programFolder = QApplication::applicationDirPath() + QLatin1Char('/');
    QtPrinterList printers;
    TForm1 form(port, clock, programFolder, [&printers] { return printers.PrinterNames(); });
    port.SetParent(&form);

    // The picture stays until its timer fired, it was clicked or it lost the focus.
    while (splash->isVisible() && !splash->CanClose()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    form.ShowMain(splash);
    return app.exec();
}
