// Table files as another workstation or an older version may have left them: loading never
// crashes, a loaded table saved and loaded again holds the same records, and a journal or
// register whose change lines were merged loads again to the same records.
#include "FuzzSupport.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace {

bool HasChangeLines(const QStringList& lines)
{
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('+')) || line.startsWith(QLatin1Char('-')))
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentPort port;
    static const auto env = fuzz::Environment();

    {
        const QString path = fuzz::WriteInput(QStringLiteral("MED.DBF"), data, size);
        TSGrid grid(port, env);
        grid.SetColCount(recordline::kMedicationCells + 1);
        if (grid.LoadTable(path)) {
            const QStringList loaded = grid.Lines();
            const QString copy = fuzz::Scratch() + QStringLiteral("COPY.DBF");
            QFile::remove(copy);
            if (grid.SaveTable(copy)) {
                TSGrid again(port, env);
                again.SetColCount(recordline::kMedicationCells + 1);
                fuzz::Check(again.LoadTable(copy), "a saved table loads");
                fuzz::Check(again.Lines() == loaded, "save and load keep every record");
            }
        }
    }
    for (const bool journal : {true, false}) {
        const QString path = fuzz::WriteInput(
            journal ? QStringLiteral("Z32024.zae") : QStringLiteral("ST_RECHN.DBF"), data, size);
        TSGrid grid(port, env);
        grid.SetColCount(journal ? recordline::kJournalCells + 1
                                 : recordline::kInvoiceRegisterCells + 1);
        const bool loaded = journal ? grid.LoadJournal(path) : grid.LoadRegister(path);
        if (!loaded || HasChangeLines(grid.Lines()))
            continue;
        const QStringList merged = grid.Lines();
        TSGrid again(port, env);
        again.SetColCount(journal ? recordline::kJournalCells + 1
                                  : recordline::kInvoiceRegisterCells + 1);
        fuzz::Check(journal ? again.LoadJournal(path) : again.LoadRegister(path),
                    "a merged file loads again");
        fuzz::Check(again.Lines() == merged, "a merge loads again to the same records");
    }
    return 0;
}
