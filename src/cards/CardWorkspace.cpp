#include "cards/CardWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "bookkeeping/Balances.h"
#include "bookkeeping/Journal.h"
#include "cards/CardRegisters.h"
#include "common/Clock.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"
#include "platform/Files.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

namespace card {

namespace {

constexpr int kBrowseReach = 101;

}  // namespace

CardWorkspace::CardWorkspace(UserPort& port, const Clock& clock, TSGrid& customers,
                             const QString& customerTablePath, TSGrid& cardGrid,
                             const QString& dataFolder, KeyValueSettings& options)
    : m_port(port),
      m_clock(clock),
      m_customers(customers),
      m_customerTablePath(customerTablePath),
      m_cardGrid(cardGrid),
      m_dataFolder(dataFolder),
      m_options(options),
      m_form(port, clock)
{
    if (m_cardGrid.ColCount() != kColumnCount + 1)
        m_cardGrid.SetColCount(kColumnCount + 1);
}

void CardWorkspace::SetSettings(const CardSettings& settings)
{
    m_settings = settings;
    m_form.SetSettings(settings);
}

QString CardWorkspace::CustomerCell(int col, int record) const
{
    if (record < 0 || record >= m_customers.RecordCount())
        return {};
    return recordline::Cell(m_customers.RecordLine(record), col);
}

bool CardWorkspace::Exists(const QString& number, int card) const
{
    return card::Exists(m_dataFolder, number, card);
}

bool CardWorkspace::StoreCardNumber(int record, int card)
{
    const QString text = NumberText(card);
    if (CustomerCell(kCustCardNumber, record) == text)
        return true;
    m_customers.SetRecordCell(kCustCardNumber, record, text);
    return m_customers.SaveTable(m_customerTablePath);
}

bool CardWorkspace::CreateCard(int record, const QString& number, int card)
{
    const QString path = FilePath(m_dataFolder, number, card);
    const QStringList header = NewCardHeader(
        number, card,
        NewCardCustomerText(CustomerCell(kCustName, record), CustomerCell(kCustFirstName, record),
                            CustomerCell(kCustTown, record)),
        m_settings.currency);
    const int rows = qMax(kMinRows, m_cardGrid.VisibleDataRows());
    QStringList blank;
    for (int i = 0; i < rows; ++i)
        blank << QString(m_cardGrid.ColCount(), QLatin1Char('\t'));
    m_cardGrid.SetLines(blank);
    if (!m_cardGrid.SaveCard(path, header))
        return false;
    return StoreCardNumber(record, card);
}

bool CardWorkspace::ShowCard(int record, const QString& path, int card)
{
    const QString number = CustomerCell(kCustNumber, record);
    QStringList header;
    CardState state;
    bool valid = false;
    for (int attempt = 0; attempt < 2 && !valid; ++attempt) {
        // An empty file becomes a new card with these lines.
        header = NewCardHeader(number, card, QString(), m_settings.currency);
        m_cardGrid.LoadCard(path, header);
        valid = ValidateHeader(header);
    }
    if (!valid) {
        m_cardGrid.SetLines(LinesFromRows(m_form.GetRows()));  // the grid keeps the card shown
        return false;
    }
    if (CorrectHeaderKey(header, card))  // a copied file
        m_cardGrid.SaveCard(path, header);
    ApplyHeader(header, state);
    state.customerText =
        CustomerText(CustomerCell(kCustName, record), CustomerCell(kCustFirstName, record),
                     CustomerCell(kCustTown, record), CustomerCell(kCustRemark, record));
    m_form.Load(RowsFromLines(m_cardGrid.Lines()), state);
    m_file = path;
    m_number = card;
    m_customerRecord = record;
    m_pending.clear();
    m_savedSummaryLines = state.summary.size();
    m_releasing = false;
    m_takeBack.clear();
    m_bsBookedSinceSave = false;
    return true;
}

// A current card that cannot be shown is kept aside under another name, so that it is
// neither shown nor overwritten by the next card created in its place. An earlier copy
// set aside stays: the next one is numbered ("K0012005.KAR.2.defekt").
void CardWorkspace::SetAside(const QString& path)
{
    QString aside = path + QStringLiteral(".defekt");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".%1.defekt").arg(n);
    QFile::rename(path, aside);
}

void CardWorkspace::DmNotice()
{
    const CardState& state = m_form.State();
    if (state.currency == QStringLiteral("DM") && m_settings.currency != QStringLiteral("DM") &&
        !state.IsInvoiced())
        m_port.Message(MsgKind::Information, QStringLiteral("Karteikarte in DM!"));
}

bool CardWorkspace::LoadCurrent(int record, bool browsing)
{
    if (m_customers.RecordCount() == 0) {
        m_port.Message(MsgKind::Information,
                       QStringLiteral("Kundenstamm ist leer!\r\rLegen Sie zuerst einen "
                                      "Kunden-Datensatz im\rArbeitsbereich Kundenstamm an."));
        return false;
    }
    const QString number = CustomerCell(kCustNumber, record);
    int numeric = 0;
    if (!TryStrToInt(number, &numeric)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Kundennummer defekt: ") + number);
        return false;
    }

    const std::set<int> existing = ExistingNumbers(m_dataFolder, number);
    const auto has = [&existing](int k) { return existing.count(k) > 0; };
    int stored = -1;
    int n = 0;
    if (TryStrToInt(CustomerCell(kCustCardNumber, record), &stored)) {
        // Cards created without updating the customer table are picked up.
        n = stored;
        while (n < kMaxCardNumber && has(n + 1))
            ++n;
        while (n >= 1 && !has(n))
            --n;
        n = qMax(n, 1);
    } else {
        stored = -1;
        for (int k = kMaxCardNumber; k >= 1 && n == 0; --k) {
            if (has(k))
                n = k;
        }
        n = qMax(n, 1);
    }
    if (n != stored)
        StoreCardNumber(record, n);
    if (!Exists(number, n) && !CreateCard(record, number, n))
        return false;

    // A broken current card falls back to the card before it; coming from the browse
    // buttons the user wanted a later card, so the one after it is shown instead.
    int shown = n;
    while (!ShowCard(record, FilePath(m_dataFolder, number, shown), shown)) {
        const QString broken = FilePath(m_dataFolder, number, shown);
        if (browsing && shown < kMaxCardNumber) {
            m_port.Message(MsgKind::Warning, QStringLiteral("Karteikarte ") +
                                                 QFileInfo(broken).fileName() +
                                                 QStringLiteral(" fehlt.\rDie Folgekarte wird "
                                                                "angezeigt!"));
            SetAside(broken);
            ++shown;
            if (!Exists(number, shown) && !CreateCard(record, number, shown))
                return false;
            StoreCardNumber(record, shown);
            continue;
        }
        m_port.Message(MsgKind::Warning, QStringLiteral("Karteikarte ") +
                                             QFileInfo(broken).fileName() +
                                             QStringLiteral(" defekt!"));
        SetAside(broken);
        do {
            --shown;
        } while (shown >= 1 && !has(shown));
        if (shown < 1) {
            // Nothing left to show: a new card takes the place of the broken one.
            if (!CreateCard(record, number, n) ||
                !ShowCard(record, FilePath(m_dataFolder, number, n), n))
                return false;
            shown = n;
            break;
        }
        StoreCardNumber(record, shown);
    }

    if (m_form.State().IsInvoiced() && m_number < kMaxCardNumber) {
        const int next = m_number + 1;
        const QString path = FilePath(m_dataFolder, number, next);
        if ((!Exists(number, next) && !CreateCard(record, number, next)) ||
            !ShowCard(record, path, next)) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Fehler beim Öffnen der leeren Karteikarte: ") +
                               QFileInfo(path).fileName());
            return false;
        }
        StoreCardNumber(record, next);
    }
    DmNotice();
    return true;
}

bool CardWorkspace::LoadCardByKey(const QString& keyText)
{
    QString digits;
    for (QChar ch : keyText) {
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            digits += ch;
    }
    const QString path = files::FindCaseInsensitive(
        m_dataFolder, QLatin1Char('K') + digits + QStringLiteral(".KAR"));
    if (!QFileInfo(path).isFile())
        return false;
    const int record = m_customers.FindExact(digits.left(4), kCustNumber);
    int card = 0;
    if (record < 0 || !TryStrToInt(digits.mid(4), &card))
        return false;
    return ShowCard(record, path, card);
}

bool CardWorkspace::Browse(int step)
{
    if (m_number < 1 || m_customerRecord < 0)
        return false;
    const bool back = step < 0;
    const QString number = CustomerCell(kCustNumber, m_customerRecord);
    const int limit =
        back ? qMax(1, m_number - kBrowseReach) : qMin(m_number + kBrowseReach, kMaxCardNumber);
    const std::set<int> existing = ExistingNumbers(m_dataFolder, number);
    int skipped = 0;
    bool defectSeen = false;
    const auto reportGap = [&] {
        if (skipped == 0)
            return;
        QString text;
        if (defectSeen)
            text =
                QString::number(skipped) + (back ? QStringLiteral(" vorherige Karteikarten fehlen!")
                                                 : QStringLiteral(" nächste Karteikarten fehlen!"));
        else if (skipped == 1)
            text = back ? QStringLiteral("Vorherige Karteikarte fehlt!")
                        : QStringLiteral("Nächste Karteikarte fehlt!");
        else
            text = QString::number(skipped) + QStringLiteral(" Karteikarten fehlen!");
        m_port.Message(MsgKind::Information, text);
        skipped = 0;
    };
    for (int k = m_number + step; back ? k >= limit : k <= limit; k += step) {
        if (existing.count(k) == 0) {
            ++skipped;
            continue;
        }
        const QString path = FilePath(m_dataFolder, number, k);
        if (ShowCard(m_customerRecord, path, k)) {
            reportGap();
            if (ClearStockCancellations)
                ClearStockCancellations();
            DmNotice();
            return true;
        }
        reportGap();
        if (!back && k == *existing.rbegin()) {
            if (!LoadCurrent(m_customerRecord, true))
                return false;
            if (ClearStockCancellations)
                ClearStockCancellations();
            return true;
        }
        m_port.Message(MsgKind::Warning,
                       (back ? QStringLiteral("Karteikarte ") : QStringLiteral("Karteikarte: ")) +
                           QFileInfo(path).fileName() + QStringLiteral(" defekt!"));
        if (defectSeen)
            break;
        defectSeen = true;
    }
    return false;
}

}  // namespace card
