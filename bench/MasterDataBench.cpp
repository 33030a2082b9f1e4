#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "QuietPort.h"
#include "cards/CardTextSearch.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/MasterTables.h"
#include "masterdata/MasterWorkspace.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace {

QStringList Medications(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("Medikament %1\t1,00000\t2,00000\t2,38000\t1\t\t\t\t\t\t")
                     .arg(i, 6, 10, QLatin1Char('0'));
    return lines;
}

// One medication placed into a table of 20,000 records, and the table saved.
void BM_SortedMedicationInsertWithSave(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MED.DBF"));
    QuietPort port;
    TSGrid grid(port);
    SetUpMasterGrid(grid, MasterTable::Medication);
    grid.Resize(30 * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
    const QStringList lines = Medications(20000);
    const QStringList cells{QStringLiteral("Medikament 010000a"),
                            QStringLiteral("1,00"),
                            QStringLiteral("2,00"),
                            QStringLiteral("2,38"),
                            QStringLiteral("1"),
                            QString(),
                            QString(),
                            QString()};
    for (auto _ : state) {
        state.PauseTiming();
        grid.SetLines(lines);
        state.ResumeTiming();
        PlaceRecordSorted(grid, cells, recordline::kMedicationCells);
        grid.SaveTable(path);
    }
}
BENCHMARK(BM_SortedMedicationInsertWithSave)->Unit(benchmark::kMillisecond);

// The customer search "in Kundenliste" over 20,000 customers, from the first one.
void BM_CustomerListSearch(benchmark::State& state)
{
    QStringList customers;
    for (int i = 0; i < 20000; ++i)
        customers << QStringLiteral(
                         "Name%1\tVorname\tStraße %1\t65183 Wiesbaden\t%2\t0611 %1\tHerrn\t"
                         "Bemerkung\t000\tmail%1@example.de\t")
                         .arg(i)
                         .arg(i % 9999 + 1, 4, 10, QLatin1Char('0'));
    const card::CardTextSearch cards;
    mastersearch::CustomerSearch search(QStringLiteral("/nonexistent/"), cards);
    for (auto _ : state) {
        const auto result =
            search.Search(customers, mastersearch::Criterion::List, QStringLiteral("name19999"), 0);
        benchmark::DoNotOptimize(result.record);
    }
}
BENCHMARK(BM_CustomerListSearch)->Unit(benchmark::kMillisecond);

}  // namespace
