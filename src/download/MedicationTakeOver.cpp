#include "download/MedicationTakeOver.h"

#include <QHash>

#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "masterdata/MasterGridLayout.h"
#include "masterdata/MasterTables.h"
#include "masterdata/MasterWorkspace.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace download {

namespace {

using namespace recordline;

constexpr int kMaxRemark = 100;

struct Prices {
    QString purchase;
    QString sale;
    QString gross;
};

bool HumanPreparation(const QString& name, const QString& remark)
{
    return remark.contains(QLatin1String("(H)")) || name.contains(QStringLiteral("Humanpräparat"));
}

// Lists are in Euro; a table kept in Deutsche Mark gets converted prices.
Prices PricesOf(const ListArticle& a, bool human, const PriceSettings& settings)
{
    const long double factor = settings.euro ? 1.0L : settings.dmRate;
    Prices p;
    p.purchase = FormatFloat(QStringLiteral("0.00"), a.purchase * factor);
    p.sale = a.hasSale ? FormatFloat(QStringLiteral("0.00"), a.sale * factor)
                       : prices::Ampv(p.purchase, settings.euro, human).saleNet;
    p.gross = prices::GrossFromNet(p.sale, a.vatCode, settings);
    return p;
}

QString NewRemark(const ListArticle& a, ListSource source)
{
    QString remark = a.manufacturer;
    if (source == ListSource::Wdt)
        remark = (a.feed ? QStringLiteral("(F) (WDT) ") : QStringLiteral("(WDT) ")) + remark;
    return remark.left(kMaxRemark);
}

QString Count(int n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromUtf8(n == 1 ? one : many);
}

QString Summary(const DrugList& list, const TakeOverCounts& c)
{
    QStringList lines = {
        Count(c.updated, "Preis aktualisiert", "Preise aktualisiert"),
        Count(c.added, "Medikament neu aufgenommen", "Medikamente neu aufgenommen"),
        Count(c.unchanged, "Medikament unverändert", "Medikamente unverändert")};
    if (c.deleted > 0)
        lines << Count(c.deleted, "Medikament gelöscht", "Medikamente gelöscht");
    if (c.keptWithStock > 0)
        lines << Count(c.keptWithStock, "Medikament mit Lagerbestand behalten",
                       "Medikamente mit Lagerbestand behalten");
    return QStringLiteral("Liste vom ") + list.date + QStringLiteral(" übernommen:\r\r") +
           lines.join(QLatin1Char('\r'));
}

}  // namespace

TakeOverPlan PlanTakeOver(const QStringList& table, const DrugList& list,
                          const QSet<QString>& refusedManufacturers, const PriceSettings& settings)
{
    TakeOverPlan plan;
    plan.lines = table;
    QHash<QString, int> byName;
    for (int i = int(table.size()) - 1; i >= 0; --i)
        byName.insert(Cell(table[i], kMedArticle).toCaseFolded(), i);

    QList<int> doomed;
    QList<QStringList> additions;
    for (const ListArticle& a : list.articles) {
        const auto found = byName.constFind(a.name.toCaseFolded());
        if (refusedManufacturers.contains(a.manufacturer.toCaseFolded())) {
            if (found == byName.cend())
                continue;
            if (Cell(table[*found], kMedCode).isEmpty())
                doomed.append(*found);
            else
                ++plan.counts.keptWithStock;
            continue;
        }
        if (found == byName.cend()) {
            const Prices p = PricesOf(a, HumanPreparation(a.name, {}), settings);
            additions.append({a.name, p.purchase, p.sale, p.gross, a.vatCode, a.waitingTime,
                              QString(), NewRemark(a, list.source)});
            continue;
        }
        QString& line = plan.lines[*found];
        const Prices p = PricesOf(
            a, HumanPreparation(Cell(line, kMedArticle), Cell(line, kMedRemark)), settings);
        const QString before = line;
        SetCell(line, kMedPurchaseNet, p.purchase);
        SetCell(line, kMedSaleNet, p.sale);
        SetCell(line, kMedSaleGross, p.gross);
        SetCell(line, kMedVatCode, a.vatCode);
        PadTabs(line, kMedicationCells);
        ++(line == before ? plan.counts.unchanged : plan.counts.updated);
    }
    std::sort(doomed.begin(), doomed.end(), std::greater<int>());
    for (int index : doomed)
        plan.lines.removeAt(index);
    plan.counts.deleted = int(doomed.size());
    for (const QStringList& cells : additions)
        mastertables::PlaceSorted(plan.lines, cells, kMedicationCells);
    plan.counts.added = int(additions.size());
    return plan;
}

QStringList GridMedicationTable::Lines() const
{
    return m_grid.Lines();
}

bool GridMedicationTable::Replace(const QStringList& lines)
{
    const QStringList before = m_grid.Lines();
    m_grid.SetLines(lines);
    const bool saved = m_grid.SaveTable(m_path);
    if (!saved)
        m_grid.SetLines(before);
    SetMasterTitles(m_grid, MasterTable::Medication);
    return saved;
}

bool RunTakeOver(const TakeOverRequest& request, UserPort& port, KeyValueSettings& settings,
                 const PriceSettings& prices, MedicationTable& table)
{
    const QString unchanged = QStringLiteral("\rDie Medikamententabelle bleibt unverändert.");
    ListReadResult read;
    {
        BusyScope busy(port);
        read = ReadListFiles(request.path, request.source);
    }
    if (!read.ok) {
        port.Message(MsgKind::Error, read.error);
        return false;
    }
    const DrugList& list = read.list;
    if (list.articles.isEmpty()) {
        port.Message(MsgKind::Information,
                     QStringLiteral("Die Liste enthält keine Artikel.") + unchanged);
        return false;
    }

    QSet<QString> refused;
    if (request.confirmManufacturers) {
        QStringList order;
        QHash<QString, int> counts;
        for (const ListArticle& a : list.articles) {
            const QString key = a.manufacturer.toCaseFolded();
            if (!counts.contains(key))
                order << a.manufacturer;
            ++counts[key];
        }
        for (const QString& maker : order) {
            const Answer answer =
                port.Message(MsgKind::Confirmation,
                             QStringLiteral("Hersteller \"") + maker +
                                 QStringLiteral("\" übernehmen?\r(%1 Artikel in der Liste)")
                                     .arg(counts.value(maker.toCaseFolded())),
                             Buttons::YesNoCancel);
            if (answer == Answer::Cancel) {
                port.Message(MsgKind::Information,
                             QStringLiteral("Übernahme abgebrochen.") + unchanged);
                return false;
            }
            if (answer == Answer::No)
                refused.insert(maker.toCaseFolded());
        }
    }

    const QStringList before = table.Lines();
    TakeOverPlan plan;
    {
        BusyScope busy(port);
        plan = PlanTakeOver(before, list, refused, prices);
    }
    if (plan.counts.deleted > 0 &&
        port.Message(MsgKind::Warning,
                     plan.counts.deleted == 1
                         ? QStringLiteral("1 Medikament unbestätigter Hersteller wird jetzt "
                                          "gelöscht !")
                         : QStringLiteral("%1 Medikamente unbestätigter Hersteller werden jetzt "
                                          "gelöscht !")
                               .arg(plan.counts.deleted),
                     Buttons::OkCancel) != Answer::Ok) {
        port.Message(MsgKind::Information, QStringLiteral("Übernahme abgebrochen.") + unchanged);
        return false;
    }
    if (plan.lines != before) {
        BusyScope busy(port);
        if (!table.Replace(plan.lines))
            return false;
    }
    RememberListDate(settings, list.source, list.date);
    if (list.source == ListSource::Barsoi)
        RememberBarsoiFile(settings, list.fileName.toUpper());
    port.Message(MsgKind::Information, Summary(list, plan.counts));
    return true;
}

}  // namespace download
