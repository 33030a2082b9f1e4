// Stock files ("MedInv<yyyy>/Med<code>.dbf"): reading never crashes, the running stock and
// the year's sums are computed for any content, and lines written back read the same.
#include <QDir>
#include <cmath>

#include "FuzzSupport.h"
#include "stock/StockFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentPort port;
    static const auto env = fuzz::Environment();
    static const bool folder = QDir().mkpath(fuzz::Scratch() + QStringLiteral("MedInv2026"));
    fuzz::Check(folder, "the year's folder is there");
    static stock::StockFiles files(port, env, fuzz::Scratch());

    fuzz::WriteInput(QStringLiteral("MedInv2026/Med0042.dbf"), data, size);
    stock::StockLines lines;
    if (!files.Read(2026, QStringLiteral("0042"), &lines))
        return 0;
    for (const stock::StockLine& line : lines) {
        fuzz::Check(stock::ParseStockLine(stock::JoinStockLine(line)).SameBooking(line),
                    "a stock line reads back as written");
        (void)stock::ShownDate(line.date);
        (void)stock::QuantityText(stock::QuantityOf(line.out));
        (void)stock::StockText(stock::QuantityOf(line.stock));
    }
    const stock::YearSums sums = stock::SumYear(lines);
    (void)stock::StockText(sums.Final());
    stock::RunStock(lines);
    stock::SetCarryOver(lines, sums.Final(), 2025);
    fuzz::Check(!lines.isEmpty() && lines.first().IsCarryOver(),
                "a year starts with its carry-over");

    // Only the saved form is compared: a year with a stock line written and read again.
    if (files.Write(2026, QStringLiteral("0043"), lines)) {
        stock::StockLines back;
        fuzz::Check(files.Read(2026, QStringLiteral("0043"), &back), "a written year reads");
        fuzz::Check(back.size() == lines.size(), "a written year keeps its lines");
        for (qsizetype i = 0; i < back.size(); ++i) {
            fuzz::Check(back[i].SameBooking(lines[i]) && back[i].stock == lines[i].stock,
                        "a written line reads back the same");
        }
    }
    return 0;
}
