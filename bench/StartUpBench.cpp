// Start-up of the main window on a practice's data folder, from the data folder check to the
// shown window (without the start-up picture): with one record card file per card in the
// folder against the same folder without them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDate>
#include <QThread>
#include <map>
#include <memory>

#include "Generated.h"
#include "QuietPort.h"
#include "platform/SystemClock.h"
#include "shell/ui/TForm1.h"

namespace {

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

QApplication& App()
{
    qInstallMessageHandler(Quiet);
    static int argc = 1;
    static char name[] = "talven_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

QByteArray Options()
{
    const QByteArray year = QByteArray::number(QDate::currentDate().year());
    return "[Optionen]\r\nNameEdit=Tierarztpraxis\r\nMwst1Edit=19\r\nMwst2Edit=7\r\n"
           "Mwst3Edit=0\r\nAlteMwst1Edit=16\r\nAlteMwst2Edit=5\r\nAlteMwst3Edit=0\r\n"
           "EuroChk=TRUE\r\nwsMax=FALSE\r\n[EraseBuYear]\r\nYear=" +
           year + "\r\n[EraseInvYear]\r\nMed=" + year + "\r\nYear=" + year + "\r\n";
}

// A program folder with DATEN: options, master tables, the texts folder and, with cards,
// `cardsPerNumber` card files for each of the 10,000 customer numbers.
// The folders are kept in the temporary folder for the next run (writing 160,000 files
// takes longer than the measurement).
struct Practice {
    QString path;
    Practice(int customers, int cardsPerNumber)
        : path(QDir::tempPath() +
               QStringLiteral("/talven-bench-%1-%2").arg(customers).arg(cardsPerNumber))
    {
        const QString data = path + QStringLiteral("/DATEN/");
        const QString done = path + QStringLiteral("/complete");
        if (QFile::exists(done))
            return;
        QDir(path).removeRecursively();
        QDir().mkpath(data + QStringLiteral("Texte"));
        generated::WriteFile(data + QStringLiteral("TLV.INI"), Options());
        generated::WriteFile(data + QStringLiteral("KUNDE.DBF"),
                             cp1252::JoinLines(generated::CustomerLines(customers)));
        QStringList med;
        QStringList services;
        for (int i = 0; i < 800; ++i) {
            med << QStringLiteral("Medikament %1\t10 ml\t%2,50000\t1\t\t\t\t\t").arg(i).arg(i % 90);
            services << QStringLiteral("Leistung %1\t\t%2,00000\t1\t\t\t\t%3\t")
                            .arg(i)
                            .arg(i % 40)
                            .arg(i);
        }
        generated::WriteFile(data + QStringLiteral("MED.DBF"), cp1252::JoinLines(med));
        generated::WriteFile(data + QStringLiteral("LEISTUNG.DBF"), cp1252::JoinLines(services));
        for (int n = 0; n < 10000 && cardsPerNumber > 0; ++n) {
            const QString number = QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
            for (int c = 1; c <= cardsPerNumber; ++c)
                generated::WriteFile(
                    data + QStringLiteral("K%1%2.KAR").arg(number).arg(c, 3, 10, QLatin1Char('0')),
                    generated::CardFile(number, c));
        }
        generated::WriteFile(done, {});
    }
    QString ProgramFolder() const { return path + QLatin1Char('/'); }
};

// 20,000 customers with 60,000 cards, 100,000 customers with 100,000 cards.
const Practice& PracticeOf(int customers, bool cards)
{
    static std::map<std::pair<int, bool>, std::unique_ptr<Practice>> practices;
    auto& p = practices[{customers, cards}];
    if (!p)
        p = std::make_unique<Practice>(customers, cards ? (customers == 20000 ? 6 : 10) : 0);
    return *p;
}

// A person starts the program seconds after the last one ended; the data folder's last
// change then lies behind it.
void BetweenStarts(std::unique_ptr<TForm1>& form)
{
    form.reset();
    QDir::setCurrent(QDir::tempPath());
    QThread::msleep(100);
}

// Creation (data folder check, options file, the window's parts: behind the start-up
// picture) and the show handler (options and tables, after the picture) together.
void BM_StartUp(benchmark::State& state)
{
    App();
    const Practice& practice = PracticeOf(static_cast<int>(state.range(0)), state.range(1) != 0);
    QuietPort port;
    SystemClock clock;
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>(port, clock, practice.ProgramFolder(),
                                             [] { return QStringList{}; });
        form->ShowMain();
        state.PauseTiming();
        BetweenStarts(form);
        state.ResumeTiming();
    }
    state.SetLabel(state.range(1) ? "with card files" : "without card files");
}

// Only what follows the start-up picture: the show handler up to the shown window.
void BM_StartUpAfterPicture(benchmark::State& state)
{
    App();
    const Practice& practice = PracticeOf(static_cast<int>(state.range(0)), state.range(1) != 0);
    QuietPort port;
    SystemClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TForm1>(port, clock, practice.ProgramFolder(),
                                             [] { return QStringList{}; });
        state.ResumeTiming();
        form->ShowMain();
        state.PauseTiming();
        BetweenStarts(form);
        state.ResumeTiming();
    }
    state.SetLabel(state.range(1) ? "with card files" : "without card files");
}

#define PRACTICES(bench)                \
    BENCHMARK(bench)                    \
        ->Args({20000, 1})              \
        ->Args({20000, 0})              \
        ->Args({100000, 1})             \
        ->Args({100000, 0})             \
        ->Unit(benchmark::kMillisecond) \
        ->Iterations(5)
PRACTICES(BM_StartUp);
PRACTICES(BM_StartUpAfterPicture);

}  // namespace
