#include "cards/CardEntryForm.h"

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"

namespace card {

namespace {

const QString k5 = QStringLiteral("0.00000");
// The remark is typed to one below what is stored (a take-over may add a character).
constexpr int kMaxTypedRemark = kMaxRemarkLength - 1;
constexpr int kMaxAmountWidth = 9;  // characters of the amount formatted "0.00"

bool IsVatCode(const QString& code)
{
    return code == QStringLiteral("1") || code == QStringLiteral("2") ||
           code == QStringLiteral("3");
}

QDate NearestDate(const Rows& rows, int from, int step)
{
    for (int r = from; r >= 0 && r < int(rows.size()); r += step) {
        QDate date;
        if (dates::TryParse(rows[size_t(r)].Cell(kColDate), &date))
            return date;
    }
    return {};
}

}  // namespace

CardEntryForm::CardEntryForm(UserPort& port, const Clock& clock) : m_port(port), m_clock(clock) {}

void CardEntryForm::Load(Rows rows, const CardState& state)
{
    m_rows = std::move(rows);
    EnsureRows(kMinRows);
    m_state = state;
    m_col = kColDate;
    m_row = 0;
    m_modified = false;
    m_bsChanged = false;
    m_calculatorMode = false;
    m_calculator.clear();
    m_calculatorTotal.clear();
}

void CardEntryForm::EnsureRows(int count)
{
    while (int(m_rows.size()) < count)
        m_rows.emplace_back();
}

void CardEntryForm::SetCurrentCell(int col, int row)
{
    m_col = qBound(1, col, kColumnCount);
    m_row = qMax(0, row);
    EnsureRows(m_row + 1);
}

bool CardEntryForm::HasContent() const
{
    for (const Row& row : m_rows) {
        if (!row.IsEmpty())
            return true;
    }
    return false;
}

void CardEntryForm::SetLineStop(bool on, std::function<bool(const QString&)> exceedsWidth)
{
    m_lineStop = on;
    m_exceedsWidth = std::move(exceedsWidth);
}

int CardEntryForm::TypedLimit(int col)
{
    if (col == kColText)
        return kMaxTextLength;
    if (col == kColRemark)
        return kMaxTypedRemark;
    return 0;
}

bool CardEntryForm::IsCellEditable(int col, int /*row*/) const
{
    if (m_state.IsInvoiced())
        return col == kColRemark && m_settings.remarkAlwaysEditable;
    return true;
}

// A booked cash or cheque line under the GoBD restrictions. A trailing blank in the amount
// exempts the line.
bool CardEntryForm::IsLocked(int row) const
{
    const Row& r = m_rows[size_t(row)];
    return m_settings.gobdRestrictions && !r.Cell(kColBS).isEmpty() &&
           !r.Cell(kColAmount).endsWith(QLatin1Char(' '));
}

KeyDecision CardEntryForm::Refuse(const QString& text, int cursor) const
{
    return KeyDecision{false, text, cursor, false};
}

KeyDecision CardEntryForm::Accept(const QString& text, int cursor)
{
    Current().SetCell(m_col, text);
    m_modified = true;
    return KeyDecision{true, text, cursor, false};
}

KeyDecision CardEntryForm::KeyPress(const QString& editorText, int cursor, const EditorKey& key)
{
    cursor = qBound(0, cursor, int(editorText.size()));
    if (key.kind == EditorKey::ShiftEnter) {
        SetCurrentCell(kColDate, m_row + 1);
        return Refuse(editorText, cursor);
    }
    if (key.kind == EditorKey::Tab || key.kind == EditorKey::Copy)
        return KeyDecision{true, editorText, cursor, false};
    if (!IsCellEditable(m_col, m_row))
        return Refuse(editorText, cursor);

    const bool erase = key.kind == EditorKey::Backspace || key.kind == EditorKey::Delete;
    if (IsLocked(m_row) && !(m_col == kColRemark && m_settings.remarkAlwaysEditable)) {
        if (erase && !HasPaymentLines()) {
            m_port.Message(MsgKind::Warning,
                           QStringLiteral("B/S-Eintrag bereits gebucht!\r\rBerichtigungsbuchung "
                                          "bitte manuell\rim Stapeldruck/Einahmen vornehmen!"));
        }
        const QString stored = Current().Cell(m_col);
        return Refuse(stored, qMin(cursor, int(stored.size())));
    }
    if (m_col == kColAmount && m_calculatorMode)
        return Refuse(editorText, cursor);

    QString text = editorText;
    if (m_col == kColAmount) {
        // Blanks never stay in an amount.
        const int before = int(text.left(cursor).count(QLatin1Char(' ')));
        text.remove(QLatin1Char(' '));
        cursor -= before;
    }
    const bool marked = !Current().Cell(kColBS).isEmpty();
    const bool bsEdit = marked && (m_col == kColVat || m_col == kColAmount);

    if (erase) {
        if (key.kind == EditorKey::Backspace && cursor > 0)
            text.remove(--cursor, 1);
        else if (key.kind == EditorKey::Delete && cursor < text.size())
            text.remove(cursor, 1);
        if (bsEdit)
            m_bsChanged = true;
        return Accept(text, cursor);
    }

    if (key.kind == EditorKey::Today) {  // Ctrl+D in the date column
        if (m_col != kColDate)
            return Refuse(editorText, cursor);
        const QString today = dates::Format(m_clock.Today());
        return Accept(today, int(today.size()));
    }
    const bool clipboard = key.kind != EditorKey::Character;  // paste, cut, undo
    QChar ch = key.ch;
    switch (m_col) {
        case kColDate:
            if (clipboard)
                return KeyDecision{true, editorText, cursor, false};
            if (ch == QLatin1Char(','))
                ch = QLatin1Char('.');
            if (!ch.isDigit() && ch != QLatin1Char('.'))
                return Refuse(editorText, cursor);
            break;
        case kColText:
        case kColRemark:
            // Beyond what the save keeps nothing is taken; cutting and undoing always are.
            if (text.size() >= TypedLimit(m_col) && key.kind != EditorKey::Cut &&
                key.kind != EditorKey::Undo)
                return Refuse(editorText, cursor);
            if (clipboard)
                return KeyDecision{true, editorText, cursor, false};
            if (m_col == kColText && m_lineStop && m_exceedsWidth &&
                m_exceedsWidth(QString(text).insert(cursor, ch)))
                return Refuse(editorText, cursor);
            break;
        case kColVat:
            if (clipboard || !IsVatCode(QString(ch)))
                return Refuse(editorText, cursor);
            text.clear();
            cursor = 0;
            break;
        case kColAmount: {
            if (clipboard)
                return Refuse(editorText, cursor);
            if (ch == QLatin1Char('.'))
                ch = QLatin1Char(',');
            if (!ch.isDigit() && ch != QLatin1Char(',') && ch != QLatin1Char('-'))
                return Refuse(editorText, cursor);
            if (!ch.isDigit() && text.contains(ch))
                return Refuse(editorText, cursor);
            long double value = 0;
            const QString next = QString(text).insert(cursor, ch);
            if (TryStrToFloat(next, &value) &&
                FormatFloat(QStringLiteral("0.00"), value).size() > kMaxAmountWidth)
                return Refuse(editorText, cursor);
            if (Current().Cell(kColVat).isEmpty())
                Current().SetCell(kColVat, QStringLiteral("1"));
            break;
        }
        case kColBS:
            if (clipboard)
                return Refuse(editorText, cursor);
            ch = ch.toUpper();
            if ((ch != QLatin1Char('B') && ch != QLatin1Char('S')) ||
                !Current().Cell(kColBS).isEmpty())
                return Refuse(editorText, cursor);
            {
                KeyDecision d = Accept(QString(ch), 1);
                d.bookingRequested = true;
                return d;
            }
        default:
            if (clipboard)
                return KeyDecision{true, editorText, cursor, false};
            break;
    }
    if (bsEdit)
        m_bsChanged = true;
    text.insert(cursor, ch);
    return Accept(text, cursor + 1);
}

void CardEntryForm::LeaveCell()
{
    Row& row = Current();
    if (m_col == kColDate) {
        const QString text = row.Cell(kColDate);
        if (text.trimmed().isEmpty())
            return;
        QDate date;
        if (!dates::TryParse(text, &date)) {
            row.Cell(kColDate).clear();
            m_modified = true;
            return;
        }
        const QDate above = NearestDate(m_rows, m_row - 1, -1);
        const QDate below = NearestDate(m_rows, m_row + 1, +1);
        if ((above.isValid() && date < above) || (below.isValid() && date > below)) {
            m_port.Message(MsgKind::Warning,
                           QStringLiteral("Datum passt nicht in zeitlichen Rahmen!\rDie "
                                          "Behandlungen müssen zeitlich geordnet sein."));
            row.Cell(kColDate).clear();
            m_modified = true;
            return;
        }
        if (date > m_clock.Today()) {
            m_port.Message(MsgKind::Warning, QStringLiteral("Datum liegt in der Zukunft !?"));
            row.Cell(kColDate).clear();
            m_modified = true;
            return;
        }
        if (dates::Format(date) != text) {
            row.SetCell(kColDate, dates::Format(date));
            m_modified = true;
        }
    } else if (m_col == kColAmount) {
        long double value = 0;
        if (!TryStrToFloat(row.Cell(kColAmount), &value)) {
            if (!row.Cell(kColAmount).isEmpty() || !row.Cell(kColVat).isEmpty())
                m_modified = true;
            row.Cell(kColAmount).clear();
            row.Cell(kColVat).clear();
        } else if (!IsLocked(m_row)) {
            row.SetCell(kColAmount, FormatFloat(k5, value));
        }
        m_calculatorMode = false;
    }
}

bool CardEntryForm::MacroKey(QChar key, const KeyValueSettings* options, const QString& dataFolder)
{
    m_macroMode = false;
    if (!options) {
        m_port.Message(MsgKind::Error, QStringLiteral("Datei ") + dataFolder +
                                           QStringLiteral("TLV.INI existiert nicht! "));
        return false;
    }
    QString text;
    if (!options->Read(QStringLiteral("ShortCuts"), QString(key), &text))
        return false;
    return InsertText(text);
}

bool CardEntryForm::InsertText(const QString& text)
{
    if (!IsCellEditable(m_col, m_row))
        return false;
    Row& row = Current();
    if (m_col == kColRemark) {
        QString remark = row.Cell(kColRemark);
        if (!remark.isEmpty())
            remark += QLatin1Char(' ');
        remark += text;
        if (remark.size() > kMaxRemarkLength)
            return false;
        row.SetCell(kColRemark, remark);
    } else {
        QString line = row.Cell(kColText) + text;
        while (m_lineStop && m_exceedsWidth && !line.isEmpty() && m_exceedsWidth(line))
            line.chop(1);
        if (line.size() > kMaxTextLength)
            return false;
        row.SetCell(kColText, line);
    }
    m_modified = true;
    return true;
}

void WriteLineStop(KeyValueSettings& options, bool on, UserPort& port)
{
    if (!options.Write(QStringLiteral("Zeilenstop"), QStringLiteral("ZeilenstopChk"),
                       on ? QStringLiteral("TRUE") : QStringLiteral("FALSE")))
        port.Message(MsgKind::Error, QStringLiteral("Fehler"));
}

// ---- Whole card ----

CardSums CardEntryForm::Sum(const QDate& limit, FrozenSummary frozen)
{
    m_medQuantity = QStringLiteral("1,00");
    m_serviceQuantity = QStringLiteral("1,00");
    CardSums sums = SumCard(m_rows, m_state, m_settings, m_port, limit, frozen);
    m_row = qMin(m_row, int(m_rows.size()) - 1);
    return sums;
}

bool CardEntryForm::RefusedInCalculatorMode()
{
    if (!m_calculatorMode)
        return false;
    m_port.Message(MsgKind::Information,
                   QStringLiteral("Funktion bei eingeschaltetem\rRechner-Modus nicht möglich!"));
    return true;
}

void CardEntryForm::ConvertAmounts(bool toGross)
{
    for (int r = 0; r < int(m_rows.size()); ++r) {
        Row& row = m_rows[size_t(r)];
        long double amount = 0;
        if (!TryStrToFloat(row.Cell(kColAmount), &amount)) {
            row.Cell(kColAmount).clear();
            row.Cell(kColVat).clear();
            continue;
        }
        if (!IsVatCode(row.Cell(kColVat)))
            row.SetCell(kColVat, QStringLiteral("1"));
        QDate date = RowDate(m_rows, r);
        if (!date.isValid()) {
            date = m_clock.Today();
            m_port.Message(MsgKind::Error, QStringLiteral("Fehler in Kartei Nr. ") + m_state.key +
                                               QStringLiteral("\r(Zeile ") +
                                               QString::number(r + 1) +
                                               QStringLiteral("): Kein gültiges Datum vorhanden!"));
        }
        const long double factor = 1 + m_settings.Rate(row.Cell(kColVat), date) / 100;
        row.SetCell(kColAmount, FormatFloat(k5, toGross ? amount * factor : amount / factor));
    }
}

bool CardEntryForm::SwitchNetGross()
{
    if (RefusedInCalculatorMode())
        return false;
    const bool toGross = !m_state.IsGross();
    m_state.amountMode = toGross ? QStringLiteral("Brutto") : QStringLiteral("Netto");
    ConvertAmounts(toGross);
    m_modified = true;
    return true;
}

void CardEntryForm::ConvertToNetIfGross()
{
    if (!m_state.IsGross())
        return;
    m_state.amountMode = QStringLiteral("Netto");
    ConvertAmounts(false);
}

bool CardEntryForm::SwitchCurrency()
{
    if (RefusedInCalculatorMode())
        return false;
    const bool toDm = !m_state.currency.startsWith(QLatin1Char('D'), Qt::CaseInsensitive);
    const long double factor = toDm ? m_settings.dmRate : 1 / m_settings.dmRate;
    m_state.currency = toDm ? QStringLiteral("DM") : QStringLiteral("Euro");
    for (Row& row : m_rows) {
        long double amount = 0;
        if (TryStrToFloat(row.Cell(kColAmount), &amount))
            row.SetCell(kColAmount, FormatFloat(k5, amount * factor));
    }
    // The invoice itself is converted: its summary follows the converted amounts.
    Sum({}, FrozenSummary::Recompute);

    QStringList& summary = m_state.summary;
    if (m_state.IsInvoiced() && summary.size() >= kFixedSummaryLines) {
        const auto scaleFee = [&](int line) {
            long double fee = 0;
            if (TryStrToFloat(summary[line], &fee))
                summary[line] = FormatFloat(k5, fee * factor);
        };
        if (m_state.reminder1)
            scaleFee(kSumFee1);
        if (m_state.reminder2)
            scaleFee(kSumFee2);
    }
    long double open = 0;
    if (TryStrToFloat(m_state.openAmountExact, &open)) {
        const long double converted = RoundCents(open * factor);
        long double gross = 0;
        TryStrToFloat(m_state.invoiceGross, &gross);
        const bool reminded = m_state.reminder1 || m_state.reminder2;
        if (gross < converted && !reminded) {
            m_state.openAmountExact = m_state.invoiceGross;
        } else if (gross <= converted || HasPaymentLines()) {
            m_state.openAmountExact = FormatFloat(k5, open * factor);
        } else {
            m_state.openAmountExact = m_state.invoiceGross;
        }
        long double shown = 0;
        TryStrToFloat(m_state.openAmountExact, &shown);
        m_state.openAmount = FormatFloat(QStringLiteral("0.00"), shown);
    }
    m_modified = true;
    return true;
}

bool CardEntryForm::CopyCard()
{
    if (!HasContent())
        return false;
    const bool modified = m_modified;
    ConvertToNetIfGross();
    m_modified = modified;

    qsizetype last = qsizetype(m_rows.size()) - 1;
    while (last >= 0 && m_rows[size_t(last)].IsEmpty())
        --last;
    m_copyBuffer.clear();
    for (qsizetype r = 0; r <= last; ++r) {
        const Row& from = m_rows[size_t(r)];
        Row row;
        for (int col : {kColDate, kColText, kColVat, kColAmount, kColRemark})
            row.SetCell(col, from.Cell(col));
        m_copyBuffer.push_back(row);
    }
    m_copyBuffer.emplace_back();
    Row note;
    note.SetCell(kColRemark, QStringLiteral("Kopie der Karteikarte: ") + m_state.key +
                                 QStringLiteral(" (ohne Inventurübernahme) !"));
    m_copyBuffer.push_back(note);
    m_copyCurrency = m_state.currency;
    return true;
}

bool CardEntryForm::InsertCopiedCard()
{
    if (m_copyBuffer.empty())
        return false;
    if (m_state.IsInvoiced() || HasContent()) {
        m_port.Message(MsgKind::Warning, QStringLiteral("Kopie nur in leere Karte möglich.\rDer "
                                                        "Vorgangs wird abgebrochen!"));
        return false;
    }
    if (m_state.IsGross())
        m_state.amountMode = QStringLiteral("Netto");
    // The amounts are in the currency of the copied card; the card takes it over.
    m_state.currency = m_copyCurrency;
    m_rows = std::move(m_copyBuffer);
    m_copyBuffer.clear();
    EnsureRows(kMinRows);
    m_row = 0;
    m_col = kColDate;
    m_modified = true;
    return true;
}

bool CardEntryForm::ClearCard()
{
    if (m_state.IsInvoiced())
        return false;
    if (m_port.Message(MsgKind::Warning,
                       QStringLiteral("Alle Einträge der Karte werden gelöscht.\rAchtung! In die "
                                      "Inventur automatisch übernommene \rMedikamente müssen "
                                      "manuell berichtigt werden!"),
                       Buttons::OkCancel) != Answer::Ok)
        return false;
    if (m_port.Message(MsgKind::Confirmation, QStringLiteral("Soll alles gelöscht werden?"),
                       Buttons::YesNo) != Answer::Yes)
        return false;
    m_rows.assign(size_t(kMinRows), Row{});
    m_row = 0;
    m_col = kColDate;
    Sum();
    m_modified = true;
    return true;
}

}  // namespace card
