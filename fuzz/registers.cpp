// The invoice and dunning registers as the batch printing workspace shows them: loading
// with the change lines merged, sorting, the automatic marks of both tabs and of every
// reminder level, the sums and the keys never crash, and the marks stay inside the table.
#include <QDateTime>

#include "FuzzSupport.h"
#include "common/Clock.h"
#include "common/KeyValueSettings.h"
#include "dunning/StapelWorkspace.h"
#include "table/TSGrid.h"

namespace {

class FixedClock : public Clock {
public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 3, 15), QTime(10, 0)); }
};

class NoSettings : public KeyValueSettings {
public:
    bool Read(const QString&, const QString&, QString*) const override { return false; }
    bool Write(const QString&, const QString&, const QString&) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fuzz::SilentPort port;
    static const auto env = fuzz::Environment();
    static FixedClock clock;
    static NoSettings options;

    fuzz::WriteInput(QStringLiteral("ST_RECHN.DBF"), data, size);
    fuzz::WriteInput(QStringLiteral("ST_MAHN.DBF"), data, size);
    dunning::StapelWorkspace stapel(port, clock, env, fuzz::Scratch(), options);
    // Sorted on every second input, so both orders are seen.
    stapel.SetAscendingOption(size % 2 == 0);
    for (const int tab : {dunning::kInvoices, dunning::kReminders}) {
        stapel.ShowTab(tab);
        const int count = stapel.Grid(tab).RecordCount();
        if (tab == dunning::kInvoices) {
            stapel.dateText = QStringLiteral("15.03.2026");
            stapel.minimumText = QStringLiteral("10,00");
            fuzz::Check(stapel.MarkInvoices(), "a valid date marks");
        } else {
            for (const auto level :
                 {dunning::Level::First, dunning::Level::Second, dunning::Level::Court})
                stapel.SetLevel(level);
        }
        const int marked = stapel.MarkedCount(tab);
        fuzz::Check(marked >= 0 && marked <= count, "no more marks than rows");
        (void)stapel.SumText(tab);
        (void)stapel.SumHint(tab);
        for (int record = 0; record < count; ++record) {
            (void)stapel.CardKey(tab, record);
            stapel.ToggleMark(tab, record);
        }
        fuzz::Check(stapel.CardKey(tab, count).isEmpty(), "no key outside the table");
    }
    return 0;
}
