#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "QuietPort.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "dunning/StapelWorkspace.h"
#include "settings/IniFile.h"
#include "settings/IniSettings.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

class BenchClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2024, 3, 15), QTime(10, 0)); }
};

constexpr int kRows = 20000;
constexpr int kChanges = 2000;

QString Key(int i)
{
    // Customers in scattered order, so the ascending sort has work to do.
    const int customer = (i * 7919) % 9000 + 1;
    return QStringLiteral("%1/%2")
        .arg(customer, 4, 10, QLatin1Char('0'))
        .arg(i % 999 + 1, 3, 10, QLatin1Char('0'));
}

// 20,000 records in each register and 2,000 change lines after them: half replace a record,
// half remove one.
void WriteRegisters(const QString& folder)
{
    QStringList invoices;
    QStringList dunning;
    for (int i = 0; i < kRows; ++i) {
        const QString date =
            QDate(2024, 1, 1).addDays(i % 90).toString(QStringLiteral("dd.MM.yyyy"));
        const QString number = Key(i).left(4);
        invoices << Key(i) + QStringLiteral("\tMeier Anna, 12345 Dorf\t") + number +
                        QLatin1Char('\t') + date + QStringLiteral("\t%1,50000\t\t").arg(i % 300);
        dunning << Key(i) + QStringLiteral("\tMeier Anna, 12345 Dorf\t") + number +
                       QLatin1Char('\t') + date +
                       QStringLiteral("\t119,00\t%1,00000\t%2\t%3\t\t")
                           .arg(i % 200 + 1)
                           .arg(i % 3 ? QStringLiteral("X") : QString())
                           .arg(i % 5 ? QString() : QStringLiteral("X"));
    }
    for (int i = 0; i < kChanges; ++i) {
        const int row = (i * 9973) % kRows;
        if (i % 2) {
            invoices << QLatin1Char('-') + Key(row) + QLatin1Char('\t');
            dunning << QLatin1Char('-') + Key(row) + QLatin1Char('\t');
        } else {
            invoices << QLatin1Char('+') + invoices[row];
            dunning << QLatin1Char('+') + dunning[row];
        }
    }
    for (const auto& [name, lines] :
         {std::pair{"ST_RECHN.DBF", invoices}, {"ST_MAHN.DBF", dunning}}) {
        QFile f(folder + QLatin1String(name));
        f.open(QIODevice::WriteOnly);
        f.write(cp1252::JoinLines(lines));
    }
}

struct Fixture {
    QTemporaryDir dir;
    QuietPort port;
    BenchClock clock;
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
    std::unique_ptr<IniFile> ini;
    std::unique_ptr<IniSettings> options;
    std::unique_ptr<dunning::StapelWorkspace> ws;

    Fixture()
    {
        env->lockWaitMs = 0;
        ini = std::make_unique<IniFile>(dir.filePath(QStringLiteral("TLV.INI")));
        options = std::make_unique<IniSettings>(*ini);
        ws = std::make_unique<dunning::StapelWorkspace>(port, clock, env,
                                                        dir.path() + QLatin1Char('/'), *options);
        ws->SetAscendingOption(true);
    }
};

// Both tabs shown: each register loaded with its change lines merged (and saved merged),
// sorted ascending, summed and marked.
void BM_ShowBothRegisters(benchmark::State& st)
{
    Fixture f;
    for (auto _ : st) {
        st.PauseTiming();
        WriteRegisters(f.dir.path() + QLatin1Char('/'));
        st.ResumeTiming();
        f.ws->ShowTab(dunning::kInvoices);
        f.ws->ShowTab(dunning::kReminders);
        benchmark::DoNotOptimize(f.ws->SumText(dunning::kReminders));
    }
    st.counters["rows"] = double(f.ws->Grid(0).RecordCount() + f.ws->Grid(1).RecordCount());
}
BENCHMARK(BM_ShowBothRegisters)->Unit(benchmark::kMillisecond);

// The automatic marking alone: the invoices by date and minimum, the reminders per level.
void BM_AutomaticMarking(benchmark::State& st)
{
    Fixture f;
    WriteRegisters(f.dir.path() + QLatin1Char('/'));
    f.ws->ShowTab(dunning::kInvoices);
    f.ws->ShowTab(dunning::kReminders);
    f.ws->minimumText = QStringLiteral("50,00");
    for (auto _ : st) {
        f.ws->MarkInvoices();
        for (dunning::Level level :
             {dunning::Level::First, dunning::Level::Second, dunning::Level::Court})
            f.ws->SetLevel(level);
        benchmark::DoNotOptimize(f.ws->MarkedCount(dunning::kReminders));
    }
}
BENCHMARK(BM_AutomaticMarking)->Unit(benchmark::kMillisecond);

}  // namespace
