#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "QuietPort.h"
#include "cards/CardFile.h"
#include "cards/CardHeader.h"
#include "cards/CardSums.h"
#include "cards/CardTextSearch.h"
#include "common/CodePage.h"
#include "masterdata/MasterSearch.h"

namespace {

void BM_SumCard500Lines(benchmark::State& st)
{
    QuietPort port;
    card::Rows rows(500);
    for (int i = 0; i < 500; ++i) {
        card::Row& r = rows[size_t(i)];
        if (i % 5 == 0)
            r.SetCell(card::kColDate, QDate(2007, 6, 1).addDays(i).toString("dd.MM.yyyy"));
        r.SetCell(card::kColText, QStringLiteral("Behandlung %1").arg(i));
        r.SetCell(card::kColVat, QString::number(1 + i % 3));
        r.SetCell(card::kColAmount, QStringLiteral("%1,25000").arg(i));
        if (i % 17 == 0)
            r.SetCell(card::kColBS, QStringLiteral("B"));
    }
    card::CardState state;
    card::ApplyHeader(card::NewCardHeader("0012", 1, "Meier", "Euro"), state);
    const CardSettings settings;
    for (auto _ : st) {
        card::Rows copy = rows;
        benchmark::DoNotOptimize(card::SumCard(copy, state, settings, port));
    }
}
BENCHMARK(BM_SumCard500Lines)->Unit(benchmark::kMillisecond);

// 5,000 customers with 20 cards each, of which every tenth customer lacks one of those
// searched (a card file deleted by hand); the text occurs nowhere, so every card is read.
struct CardFolder {
    QTemporaryDir dir;
    QStringList customers;
    QStringList searched;  // the names of the cards the search reads, present or not
    CardFolder()
    {
        QStringList treatments;
        for (int i = 0; i < 10; ++i)
            treatments
                << QStringLiteral("01.02.2024\tImpfung Bello %1\t1\t10,00000\t\t\t\t\t").arg(i);
        treatments << QStringLiteral("---KOPF---");
        for (int c = 1; c <= 5000; ++c) {
            const QString number = QStringLiteral("%1").arg(c, 4, 10, QLatin1Char('0'));
            customers << QStringLiteral("Kunde%1\tVorname\tWeg\t12345 Ort\t%2\t\t\t\t020\t\t")
                             .arg(c)
                             .arg(number);
            for (int n = 1; n <= 20; ++n) {
                const QString name = card::FileName(number, n);
                if (n > 20 - 11)
                    searched << name;
                if (c % 10 == 0 && n == 15)
                    continue;
                QStringList lines = treatments;
                lines +=
                    card::NewCardHeader(number, n, QStringLiteral("Kunde"), QStringLiteral("Euro"));
                QFile f(dir.filePath(name));
                f.open(QIODevice::WriteOnly);
                f.write(cp1252::JoinLines(lines));
            }
        }
    }
};

CardFolder& Cards()
{
    static CardFolder folder;
    return folder;
}

void BM_SearchInKarteien(benchmark::State& st)
{
    CardFolder& folder = Cards();
    const card::CardTextSearch cards;
    mastersearch::CustomerSearch search(folder.dir.path(), cards);
    for (auto _ : st)
        benchmark::DoNotOptimize(search.Search(folder.customers, mastersearch::Criterion::Cards,
                                               QStringLiteral("TETANUS"), 0));
}
BENCHMARK(BM_SearchInKarteien)->Unit(benchmark::kMillisecond)->Iterations(5);

// The floor: opening and reading the same files, nothing else.
void BM_PlainReadsOfTheSearchedCards(benchmark::State& st)
{
    CardFolder& folder = Cards();
    const QString base = folder.dir.path() + QLatin1Char('/');
    std::vector<char> buffer(65536);
    for (auto _ : st) {
        qint64 bytes = 0;
        for (const QString& name : folder.searched) {
            const int fd = ::open(QFile::encodeName(base + name).constData(), O_RDONLY);
            if (fd < 0)
                continue;
            for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
                bytes += n;
            ::close(fd);
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_PlainReadsOfTheSearchedCards)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
