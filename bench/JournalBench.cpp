#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "QuietPort.h"
#include "bookkeeping/JournalWorkspace.h"
#include "bookkeeping/TEARstatDlgForm.h"
#include "common/Clock.h"
#include "common/CodePage.h"
#include "common/KeyValueSettings.h"
#include "table/TSGrid.h"

namespace {

class BenchClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2024, 12, 20), QTime(9, 0)); }
};

class BenchSettings : public KeyValueSettings {
public:
    bool Read(const QString& section, const QString& key, QString* value) const override
    {
        const auto it = m_values.find(section + '/' + key);
        if (it == m_values.end())
            return false;
        *value = *it;
        return true;
    }
    bool Write(const QString& section, const QString& key, const QString& value) override
    {
        m_values[section + '/' + key] = value;
        return true;
    }

private:
    QMap<QString, QString> m_values{{"Kontostand/Waehrung", "Euro"}};
};

constexpr int kBookings = 5000;

// A month of bookings over three rates, both businesses and all payment kinds.
void WriteMonth(const QString& path, int month, int year)
{
    static const char* const rates[] = {"19,0", "7,0", "16,0"};
    static const char* const kinds[] = {"B", "S", "\xDC"};
    QStringList lines;
    lines.reserve(kBookings);
    for (int i = 0; i < kBookings; ++i) {
        const long double net = 10 + (i % 97) * 1.37L;
        const char* rate = rates[i % 3];
        const long double factor = i % 3 == 0 ? 1.19L : i % 3 == 1 ? 1.07L : 1.16L;
        lines << QStringLiteral("%1.%2.%3\t%4/%5\t%6Kunde %7\t%8\t%9\t%10\t%11\t")
                     .arg(1 + i * 28 / kBookings, 2, 10, QLatin1Char('0'))
                     .arg(month, 2, 10, QLatin1Char('0'))
                     .arg(year)
                     .arg(i % 9999, 4, 10, QLatin1Char('0'))
                     .arg(i % 999, 3, 10, QLatin1Char('0'))
                     .arg(i % 5 == 0 ? QStringLiteral("(A) ") : QString())
                     .arg(i)
                     .arg(QString::number(double(net), 'f', 2).replace('.', ','))
                     .arg(QString::fromLatin1(rate))
                     .arg(QString::number(double(net * factor), 'f', 2).replace('.', ','))
                     .arg(QString::fromLatin1(kinds[i % 3]));
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(cp1252::JoinLines(lines));
}

struct JournalMonth {
    JournalMonth()
    {
        WriteMonth(dir.filePath("Z32024.zaE"), 3, 2024);
        WriteMonth(dir.filePath("Z32024.auE"), 3, 2024);
        journal::SetUpJournalGrid(grid);
        BookkeepingSettings s;
        s.rateOrder = {19, 7, 0, 16, 7};
        s.splitVatReturn = true;
        ws.SetSettings(s);
        ws.Selection().month = 3;
        ws.Selection().year = 2024;
    }
    QTemporaryDir dir;
    QuietPort port;
    BenchClock clock;
    BenchSettings options;
    TSGrid grid{port};
    journal::JournalWorkspace ws{port, clock, grid, options, dir.path() + "/"};
};

// The month as the tab shows it: load with merge, filter, sums per rate.
void BM_ShowMonthAndSums(benchmark::State& st)
{
    JournalMonth m;
    m.ws.Selection().account =
        st.range(0) ? journal::AccountFilter::Cash : journal::AccountFilter::All;
    for (auto _ : st) {
        m.ws.ShowMonth();
        benchmark::DoNotOptimize(m.ws.Sums().totalGross);
    }
}
BENCHMARK(BM_ShowMonthAndSums)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The sheet of one business from the month's income and expenses.
void BM_VatReturnSums(benchmark::State& st)
{
    JournalMonth m;
    for (auto _ : st)
        benchmark::DoNotOptimize(m.ws.VatReturnSheetFor(journal::BusinessFilter::Practice));
}
BENCHMARK(BM_VatReturnSums)->Unit(benchmark::kMillisecond);

// The result of a year of twelve such months of income and of expenses.
void BM_ResultOfAYear(benchmark::State& st)
{
    QTemporaryDir dir;
    for (int month = 1; month <= 12; ++month) {
        WriteMonth(dir.filePath(QStringLiteral("Z%12024.zaE").arg(month)), month, 2024);
        WriteMonth(dir.filePath(QStringLiteral("Z%12024.auE").arg(month)), month, 2024);
    }
    journal::JournalSelection view;
    view.month = 3;
    view.year = 2024;
    TEARstatDlgForm form(dir.path() + "/", view);
    form.TogglePeriod();
    for (auto _ : st) {
        form.ShowResult();
        benchmark::DoNotOptimize(form.Result());
    }
}
BENCHMARK(BM_ResultOfAYear)->Unit(benchmark::kMillisecond);

}  // namespace
