// Table engine speed: loads and saves of a large customer table against plain reading,
// sorting against std::sort, and the merge of a month's journal.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <random>

#include "Generated.h"
#include "QuietPort.h"
#include "common/CodePage.h"
#include "table/TSGrid.h"

namespace {

constexpr int kCustomers = 100000;
constexpr int kCustomerCols = 14;

using generated::CustomerLines;

struct CustomerFile {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;
    CustomerFile()
    {
        path = dir.path() + "/KUNDE.DBF";
        const QByteArray data = cp1252::JoinLines(CustomerLines(kCustomers));
        bytes = data.size();
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
};

CustomerFile& Customers()
{
    static CustomerFile file;
    return file;
}

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// Both the baseline and the load start from the same heap: what the previous iteration
// freed is given back, so neither reuses the other's free lists.
void ResetHeap()
{
    HeapInUse();
    malloc_trim(0);
}

void BM_ReadAndSplitBaseline(benchmark::State& state)
{
    const CustomerFile& file = Customers();
    for (auto _ : state) {
        {
            QFile f(file.path);
            f.open(QIODevice::ReadOnly);
            QStringList lines = cp1252::SplitLines(f.readAll());
            benchmark::DoNotOptimize(lines.size());
            state.PauseTiming();  // freeing the lines is not part of reading, as below
        }
        ResetHeap();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}
BENCHMARK(BM_ReadAndSplitBaseline)->Unit(benchmark::kMillisecond);

void BM_LoadTable(benchmark::State& state)
{
    const CustomerFile& file = Customers();
    QuietPort port;
    size_t heap = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<TSGrid>(port);
        grid->SetColCount(kCustomerCols + 1);
        grid->Resize(600);
        const size_t before = HeapInUse();
        state.ResumeTiming();
        grid->LoadTable(file.path);
        state.PauseTiming();
        heap = HeapInUse() - before;
        grid.reset();
        ResetHeap();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
    state.counters["file_MB"] = static_cast<double>(file.bytes) / 1e6;
    state.counters["table_MB"] = static_cast<double>(heap) / 1e6;
    state.counters["memory_x_file"] = static_cast<double>(heap) / static_cast<double>(file.bytes);
}
BENCHMARK(BM_LoadTable)->Unit(benchmark::kMillisecond);

// Writing without the flush to disk, to show what the safe save adds.
void BM_EncodeAndWriteBaseline(benchmark::State& state)
{
    const CustomerFile& file = Customers();
    QuietPort port;
    TSGrid grid(port);
    grid.SetColCount(kCustomerCols + 1);
    grid.LoadTable(file.path);
    const QString target = file.dir.path() + "/PLAIN.DBF";
    for (auto _ : state) {
        QFile f(target);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(cp1252::JoinLines(grid.Lines()));
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}
BENCHMARK(BM_EncodeAndWriteBaseline)->Unit(benchmark::kMillisecond);

void BM_SaveTable(benchmark::State& state)
{
    const CustomerFile& file = Customers();
    QuietPort port;
    TSGrid grid(port);
    grid.SetColCount(kCustomerCols + 1);
    grid.LoadTable(file.path);
    const QString target = file.dir.path() + "/KOPIE.DBF";
    for (auto _ : state)
        grid.SaveTable(target);
    state.SetBytesProcessed(state.iterations() * file.bytes);
}
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMillisecond);

QStringList ShuffledNames(int count)
{
    QStringList lines = CustomerLines(count);
    std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
    return lines;
}

// Both sorts start from an unshared copy of the same shuffled lines.
QStringList UnsharedCopy(const QStringList& lines)
{
    QStringList copy = lines;
    copy.detach();
    return copy;
}

// Times SortAll of the lines, each run on an unshared copy set outside the timing.
void TimeSortAll(benchmark::State& state, const QStringList& lines, int colCount)
{
    QuietPort port;
    TSGrid grid(port);
    grid.SetColCount(colCount);
    for (auto _ : state) {
        state.PauseTiming();
        grid.SetLines(UnsharedCopy(lines));
        state.ResumeTiming();
        grid.SortAll();
    }
}

void BM_SortAll(benchmark::State& state)
{
    TimeSortAll(state, ShuffledNames(static_cast<int>(state.range(0))), kCustomerCols + 1);
}
BENCHMARK(BM_SortAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StdSortPlain(benchmark::State& state)
{
    const QStringList lines = ShuffledNames(static_cast<int>(state.range(0)));
    QStringList copy;  // freed outside the timing, as the grid's lines are
    for (auto _ : state) {
        state.PauseTiming();
        copy = UnsharedCopy(lines);
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_StdSortPlain)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Lines that share their first 60 characters: every comparison needs the whole keys.
void BM_SortAllSharedBeginnings(benchmark::State& state)
{
    QStringList lines = ShuffledNames(100000);
    const QString shared =
        QStringLiteral("Tierärztliche Gemeinschaftspraxis am Stadtpark, Abteilung ");
    for (QString& line : lines)
        line.prepend(shared);
    TimeSortAll(state, lines, kCustomerCols + 2);
}
BENCHMARK(BM_SortAllSharedBeginnings)->Unit(benchmark::kMillisecond);

// A month of 5,000 bookings and 1,000 appended "+" bookings of random days.
QByteArray JournalMonth()
{
    QRandomGenerator rng(3);
    QStringList lines;
    for (int i = 0; i < 5000; ++i) {
        lines << QStringLiteral("%1.03.2024\t0%2/001\tMüller, Jürgen\t%3,00000\t19\t%4\tB\t")
                     .arg(1 + i * 31 / 5000, 2, 10, QLatin1Char('0'))
                     .arg(1000 + i)
                     .arg(rng.bounded(1, 500))
                     .arg(rng.bounded(1, 600));
    }
    for (int i = 0; i < 1000; ++i) {
        lines << QStringLiteral("+%1.03.2024\t0%2/002\tSchäfer, Anna\t%3,00000\t7\t%4\tÜ\t")
                     .arg(rng.bounded(1, 32), 2, 10, QLatin1Char('0'))
                     .arg(2000 + i)
                     .arg(rng.bounded(1, 500))
                     .arg(rng.bounded(1, 600));
    }
    return cp1252::JoinLines(lines);
}

void BM_LoadJournal(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/Z32024EE.ZAE";
    const QByteArray month = JournalMonth();
    QuietPort port;
    TSGrid grid(port);
    grid.SetColCount(8);
    for (auto _ : state) {
        state.PauseTiming();
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(month);
        f.close();
        state.ResumeTiming();
        grid.LoadJournal(path);
    }
    state.counters["records"] = grid.RecordCount();
}
BENCHMARK(BM_LoadJournal)->Unit(benchmark::kMillisecond);

}  // namespace
