#include <benchmark/benchmark.h>

#include "download/DrugLists.h"
#include "download/MedicationTakeOver.h"

namespace {

// A full list of 20,000 articles against a table of 8,000 medications, half of them in it.
QByteArray BigList()
{
    QByteArray list = download::kBarsoiHeader;
    list += "\r\n";
    for (int i = 0; i < 20000; ++i)
        list += QStringLiteral("Hersteller %1;Artikel %2;%3,20;;1;0\r\n")
                    .arg(i % 300)
                    .arg(i * 2, 6, 10, QLatin1Char('0'))
                    .arg(i % 90)
                    .toUtf8();
    return list;
}

QStringList BigTable()
{
    QStringList table;
    for (int i = 0; i < 8000; ++i)
        table << QStringLiteral("Artikel %1\t1,00\t2,00\t2,38\t1\t\t\t\t\t\t")
                     .arg(i * 5, 6, 10, QLatin1Char('0'));
    return table;
}

void BM_ReadBarsoiText20000(benchmark::State& st)
{
    const QByteArray list = BigList();
    for (auto _ : st)
        benchmark::DoNotOptimize(download::ReadBarsoiText(list, "BLMEDI1.TXT", "15.01.2024"));
}
BENCHMARK(BM_ReadBarsoiText20000)->Unit(benchmark::kMillisecond);

void BM_PlanTakeOver20000Into8000(benchmark::State& st)
{
    const download::ListReadResult read =
        download::ReadBarsoiText(BigList(), "BLMEDI1.TXT", "15.01.2024");
    const QStringList table = BigTable();
    PriceSettings prices;
    prices.currentVat = {19, 7, 0};
    for (auto _ : st)
        benchmark::DoNotOptimize(download::PlanTakeOver(table, read.list, {}, prices));
}
BENCHMARK(BM_PlanTakeOver20000Into8000)->Unit(benchmark::kMillisecond);

}  // namespace
