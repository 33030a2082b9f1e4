#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "QuietPort.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "stock/StockKeeping.h"
#include "stock/TMedVerwDlgForm.h"
#include "table/TSGrid.h"
#include "table/TableEnvironment.h"

namespace {

class BenchClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 1, 2), QTime(8, 0)); }
};

void WriteFile(const QString& path, const QStringList& lines)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(cp1252::JoinLines(lines));
}

// The first start of 2026: 3,000 stock-kept medications, each with books for 2023 to 2025
// of 20 movements a year; every one gets its 2026 file.
void BM_CarryForwardAll3000(benchmark::State& st)
{
    QStringList medications;
    for (int m = 1; m <= 3000; ++m)
        medications << QStringLiteral("Medikament %1\t1,00\t2,00\t2,38\t1\t\t\t\t10,00\t%2\t")
                           .arg(m)
                           .arg(m, 6, 10, QLatin1Char('0'));
    QTemporaryDir dir;
    const QString data = dir.path() + "/";
    for (int year = 2023; year <= 2025; ++year) {
        QDir().mkpath(data + QStringLiteral("MedInv%1").arg(year));
        for (int m = 1; m <= 3000; ++m) {
            QStringList lines{QStringLiteral("\t\t\t100\tÜbertrag %1\t").arg(year - 1)};
            for (int i = 0; i < 20; ++i)
                lines << QStringLiteral("%1%2%3\t1\t\t\tKartei-Nr.: 0012/004\t")
                             .arg(year)
                             .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                             .arg(10, 2, 10, QLatin1Char('0'));
            WriteFile(
                data +
                    QStringLiteral("MedInv%1/Med%2.dbf").arg(year).arg(m, 6, 10, QLatin1Char('0')),
                lines);
        }
    }
    QuietPort port;
    auto env = std::make_shared<TableEnvironment>();
    env->dataFolder = data;
    stock::StockFiles files(port, env, data);
    // The files of a round are moved aside, not deleted: thousands of inodes freed just
    // before the run would slow the file system's allocation of new ones, which the real
    // year change does not meet.
    int round = 0;
    for (auto _ : st) {
        st.PauseTiming();
        QDir().rename(data + "MedInv2026", data + QStringLiteral("Runde%1").arg(++round));
        st.ResumeTiming();
        benchmark::DoNotOptimize(stock::CarryForwardAll(files, medications, 2026));
    }
}
BENCHMARK(BM_CarryForwardAll3000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The stock dialog of a medication with 5,000 movements in the shown year and books of the
// six years before.
void BM_OpenStockDialog5000(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString data = dir.path() + "/";
    QStringList medications{QStringLiteral("Rimadyl\t1,00\t2,00\t2,38\t1\t\t\t\t10,00\t000001\t")};
    WriteFile(data + "MED.DBF", medications);
    for (int year = 2020; year <= 2026; ++year) {
        QDir().mkpath(data + QStringLiteral("MedInv%1").arg(year));
        QStringList lines{QStringLiteral("\t\t\t100\tÜbertrag %1\t").arg(year - 1)};
        const int count = year == 2026 ? 5000 : 200;
        for (int i = 0; i < count; ++i)
            lines << (i % 3 == 0 ? QStringLiteral("%1%2\t\t3\t\tLieferung\t")
                                 : QStringLiteral("%1%2\t1/2\t\t\tKartei-Nr.: 0012/004\t"))
                         .arg(year)
                         .arg(QStringLiteral("0101"));
        WriteFile(data + QStringLiteral("MedInv%1/Med000001.dbf").arg(year), lines);
    }
    QuietPort port;
    BenchClock clock;
    auto env = std::make_shared<TableEnvironment>();
    env->dataFolder = data;
    TSGrid grid(port, env);
    grid.LoadTable(data + "MED.DBF");
    stock::StockFiles files(port, env, data);
    stock::StockTable table(grid, data + "MED.DBF");
    for (auto _ : st) {
        stock::TMedVerwDlgForm form(port, clock, files, table);
        benchmark::DoNotOptimize(form.Open(0));
    }
}
BENCHMARK(BM_OpenStockDialog5000)->Unit(benchmark::kMillisecond);

}  // namespace
