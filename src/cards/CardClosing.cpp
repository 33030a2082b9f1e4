#include "cards/CardClosing.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "cards/CardSums.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"

namespace card {

namespace {

const QString k2 = QStringLiteral("0.00");

QDate OwnDate(const Row& row)
{
    QDate date;
    return dates::TryParse(row.Cell(kColDate), &date) ? date : QDate();
}

bool IsVatCode(const QString& code)
{
    return code == QStringLiteral("1") || code == QStringLiteral("2") ||
           code == QStringLiteral("3");
}

bool IsBS(const Row& row)
{
    const QString mark = row.Cell(kColBS).trimmed().toUpper();
    return mark == QStringLiteral("B") || mark == QStringLiteral("S");
}

QString ErrorText(const QString& key, const QString& what, const QString& tail)
{
    return QStringLiteral("Fehler in Kartei Nr. ") + key + QStringLiteral("\r") + what +
           QStringLiteral("\r\r") + tail;
}

const QString kPrintStopped = QStringLiteral("Der Druck wird abgebrochen.");
const QString kQuoteStopped = QStringLiteral("Angebot wird nicht gedruckt.");

void PadRows(Rows& rows)
{
    while (rows.size() < size_t(kMinRows)) {
        rows.emplace_back();
    }
}

}  // namespace

int RepairedCurrentNumber(int shown, int stored, const std::function<bool(int)>& exists)
{
    if (!((stored == shown && shown < kMaxCardNumber && exists(shown + 1)) || stored < shown)) {
        return stored;
    }
    int last = shown;
    while (last < kMaxCardNumber && exists(last + 1)) {
        ++last;
    }
    return last;
}

bool IsRealClose(int shown, int stored, bool invoiced)
{
    return shown != kMaxCardNumber && !invoiced && shown == stored;
}

QString CloseQuestion(CloseKind kind, bool noPrint)
{
    QString printed;
    switch (kind) {
        case CloseKind::Invoice:
            printed = noPrint ? QStringLiteral("Die Rechnung wird nicht gedruckt.")
                              : QStringLiteral("Die Rechnung wird gedruckt.");
            break;
        case CloseKind::Receipt:
            printed = noPrint ? QStringLiteral("Die Quittung wird nicht gedruckt.")
                              : QStringLiteral("Die Quittung wird gedruckt.");
            break;
        case CloseKind::Quote:
            printed = noPrint ? QStringLiteral("Das Angebot wird nicht gedruckt.")
                              : QStringLiteral("Das Angebot wird gedruckt.");
            break;
    }
    return QStringLiteral("Diese Karteikarte wird nun abgeschlossen.\r") + printed +
           QStringLiteral("\r\rEine neue Karteikarte zu diesem Kunden\rwird automatisch angelegt!");
}

QString InvalidToDateText(const QString& key, CloseKind kind)
{
    if (kind == CloseKind::Quote) {
        return ErrorText(key, QStringLiteral("Kein gültiges Datum vorhanden!"), kQuoteStopped);
    }
    return ErrorText(key, QStringLiteral("Datum des Behandlungszeitraums ungültig!"),
                     kPrintStopped);
}

QString NegativeSumText(const QString& key, CloseKind kind)
{
    if (kind == CloseKind::Quote) {
        return ErrorText(key, QStringLiteral("Summe darf nicht negativ sein!"),
                         QStringLiteral("Angebot wird nicht gedruckt!"));
    }
    return ErrorText(key, QStringLiteral("Rechnungssumme darf nicht negativ sein!"), kPrintStopped);
}

QString NoDateText(const QString& key, CloseKind kind)
{
    return ErrorText(key, QStringLiteral("Kein gültiges Datum vorhanden!"),
                     kind == CloseKind::Quote ? kQuoteStopped : kPrintStopped);
}

bool InvoiceGrossNegative(const CardState& state)
{
    const QString text = state.summary.size() > kSumInvoiceGross ? state.summary[kSumInvoiceGross]
                                                                 : state.invoiceGross;
    long double gross = 0;
    return TryStrToFloat(text, &gross) && RoundCents(gross) < 0;
}

PrintCopy BuildPrintCopy(const Rows& rows, const CardState& state, const CardSettings& settings,
                         const QDate& toDate)
{
    PrintCopy copy;
    const bool gross = state.IsGross();
    int r = 0;
    for (; r < int(rows.size()); ++r) {
        const Row& row = rows[size_t(r)];
        const QDate own = OwnDate(row);
        if (toDate.isValid() && own.isValid() && own > toDate) {
            break;
        }
        if (IsBS(row)) {
            continue;
        }
        PrintLine line;
        line.date = row.Cell(kColDate);
        line.text = row.Cell(kColText);
        const QString code = row.Cell(kColVat);
        long double amount = 0;
        const bool hasAmount = TryStrToFloat(row.Cell(kColAmount), &amount);
        if (IsVatCode(code)) {
            const QDate date = RowDate(rows, r);
            if (!date.isValid()) {
                copy.ok = false;
                copy.errorRow = r;
                copy.lines.clear();
                return copy;
            }
            const long double rate = settings.Rate(code, date);
            line.vat = FormatFloat(QStringLiteral("0.0"), rate);
            if (gross) {
                amount /= 1 + rate / 100;
            }
        }
        line.amount = hasAmount ? FormatFloat(k2, amount) : QString();
        copy.lines.push_back(line);
    }
    copy.cutRow = r;
    // Empty rows at the end of the card print nothing.
    while (!copy.lines.empty()) {
        const PrintLine& last = copy.lines.back();
        if (!last.date.isEmpty() || !last.text.isEmpty() || !last.vat.isEmpty() ||
            !last.amount.isEmpty()) {
            break;
        }
        copy.lines.pop_back();
    }
    return copy;
}

Rows CutForNextCard(Rows& rows, int cutRow)
{
    Rows carried;
    if (cutRow >= 0 && cutRow < int(rows.size())) {
        carried.assign(rows.begin() + cutRow, rows.end());
        rows.erase(rows.begin() + cutRow, rows.end());
    }
    while (!carried.empty() && carried.back().IsEmpty()) {
        carried.pop_back();
    }
    PadRows(rows);
    return carried;
}

Rows NextCardRows(const Rows& carried)
{
    Rows rows = carried;
    PadRows(rows);
    return rows;
}

QDate DueDate(const QDate& printDate, int termDays)
{
    return printDate.addDays(termDays);
}

QString WithDueDate(const QString& text, const QDate& due)
{
    // The blank before the placeholder stays, so the date does not stick to the word
    // before it ("bis zum 22.12.2026 ohne Abzug.").
    const QString placeholder = QStringLiteral(" FFF ");
    const int at = text.indexOf(placeholder);
    if (at < 0) {
        return text;
    }
    QString result = text;
    result.replace(at, placeholder.size(),
                   QStringLiteral(" ") + dates::Format(due) + QStringLiteral(" "));
    return result;
}

DocumentTexts DocumentTextsFor(const QStringList& texts, CloseKind kind, const QDate& due)
{
    const int base = 4 * static_cast<int>(kind);
    const auto at = [&](int i) { return WithDueDate(texts.value(base + i), due); };
    return {at(0), at(1), at(2), at(3)};
}

QString CurrencyCode(const QString& currency)
{
    return currency.startsWith(QLatin1Char('D'), Qt::CaseInsensitive) ? QStringLiteral("DM")
                                                                      : QStringLiteral("EUR");
}

QString OtherCurrencyCode(const QString& currency)
{
    return CurrencyCode(currency) == QStringLiteral("DM") ? QStringLiteral("EUR")
                                                          : QStringLiteral("DM");
}

QStringList FooterSlots(const QStringList& summary, const QString& currency, bool bothCurrencies,
                        const QString& foot1, const QString& foot2)
{
    QStringList result;
    const QString code = QStringLiteral(" ") + CurrencyCode(currency);
    for (int g = 1; g <= 6; ++g) {
        long double vat = 0;
        if (TryStrToFloat(summary.value(2 * g - 1), &vat) && vat != 0) {
            result << summary.value(2 * g - 2) + QStringLiteral("%")
                   << FormatFloat(k2, RoundCents(vat)) + code;
        }
    }
    while (result.size() < 12) {
        result << QString();
    }
    result << summary.value(kSumInvoiceNet) + code << summary.value(kSumInvoiceVat) + code
           << summary.value(kSumInvoiceGross) + code;
    result << (bothCurrencies ? summary.value(kSumOtherCurrency) + QStringLiteral(" ") +
                                    OtherCurrencyCode(currency)
                              : QString());
    result << foot1 << foot2;
    return result;
}

bool MayRelease(const CardState& state, bool gobdRestrictions)
{
    return state.IsInvoiced() && !(gobdRestrictions && !PaymentLines(state.summary).isEmpty());
}

void FreezeCard(CardState& state, const QDate& printDate)
{
    state.invoiceDate = dates::Format(printDate);
    if (state.openAmount == kUnset || state.openAmountExact == kUnset ||
        state.openAmountExact.isEmpty()) {
        const QString gross = state.summary.size() > kSumInvoiceGross
                                  ? state.summary[kSumInvoiceGross]
                                  : state.invoiceGross;
        long double value = 0;
        TryStrToFloat(gross, &value);
        state.openAmount = FormatFloat(k2, value);
        state.openAmountExact = state.openAmount;
    }
    long double open = 0;
    state.remindersEnabled =
        TryStrToFloat(state.openAmountExact, &open) && std::fabs(open) >= 0.01L;
}

void MarkAsQuote(Rows& rows, const QDate& printDate, bool inventoryAutomatic)
{
    if (rows.empty()) {
        rows.emplace_back();
    }
    QString remark = QStringLiteral("Angebot am ") + dates::Format(printDate);
    if (inventoryAutomatic) {
        remark += QStringLiteral(" (mit Inventurübernahme) !");
    }
    rows.back().SetCell(kColRemark, remark);
}

NextCardPlan PlanNextCard(int storedCurrent)
{
    NextCardPlan plan;
    plan.number = std::min(storedCurrent + 1, kMaxCardNumber);
    plan.deleteNumber = storedCurrent > 500 ? storedCurrent - 500 : 0;
    return plan;
}

bool ApplyRetention(const QString& dataFolder, const QString& customerNumber,
                    const NextCardPlan& plan)
{
    if (plan.deleteNumber <= 0 || !Exists(dataFolder, customerNumber, plan.deleteNumber)) {
        return true;
    }
    return QFile::remove(FilePath(dataFolder, customerNumber, plan.deleteNumber));
}

bool PrepareReceiptPayment(CardState& state)
{
    if (state.summary.size() > kFixedSummaryLines) {
        return false;
    }
    if (state.openAmount == kUnset) {
        long double gross = 0;
        TryStrToFloat(state.summary.value(kSumInvoiceGross, state.invoiceGross), &gross);
        state.openAmount = FormatFloat(k2, gross);
        state.openAmountExact = state.openAmount;
    }
    return true;
}

bool UsesPharmacyLetterhead(bool dispensingCustomer, const QString& secondBusinessName)
{
    return dispensingCustomer && !secondBusinessName.trimmed().isEmpty();
}

QString DocumentHeading(CloseKind kind, const QString& quoteTitle, bool dispensingCustomer,
                        bool secondBusinessDefined)
{
    QString heading = kind == CloseKind::Invoice   ? QStringLiteral("RECHNUNG")
                      : kind == CloseKind::Receipt ? QStringLiteral("QUITTUNG")
                                                   : quoteTitle;
    if (dispensingCustomer && !secondBusinessDefined) {
        heading += QStringLiteral(" - Abgabemedikamente");
    }
    return heading;
}

QStringList LetterheadSlots(const LetterheadInput& in)
{
    const BusinessData& b = in.business;
    QStringList result{b.name, b.firm, b.street, b.town, b.phone, b.fax};
    for (int i = 0; i < 4; ++i) {
        result << in.addressee.value(i);
    }
    result << b.bank << b.iban << b.bic << in.heading << in.cardKey << in.headText
           << QString::number(in.indentIndex) << in.logoPath << b.extra1 << b.extra2;
    return result;
}

QString PrintTitle(CloseKind kind, const QString& cardKey)
{
    QString key = cardKey;
    key.remove(QLatin1Char('/'));
    switch (kind) {
        case CloseKind::Receipt:
            return QStringLiteral("Talven - Quittung ") + key;
        case CloseKind::Quote:
            return QStringLiteral("Talven-Angebot ") + key;
        case CloseKind::Invoice:
            break;
    }
    return QStringLiteral("Talven - Rechnung ") + key;
}

QString MailSubject(CloseKind kind, const QString& cardKey)
{
    return (kind == CloseKind::Quote ? QStringLiteral("Angebot ") : QStringLiteral("Rechnung ")) +
           cardKey;
}

CardPrint BuildCardPrint(const Rows& rows, const CardSettings& settings,
                         const std::function<QString(const QString&)>& shortenRemark)
{
    CardPrint print;
    for (int r = 0; r < int(rows.size()); ++r) {
        const Row& row = rows[size_t(r)];
        PrintLine line{row.Cell(kColDate), row.Cell(kColText), QString(), QString()};
        if (IsVatCode(row.Cell(kColVat))) {
            const QDate date = RowDate(rows, r);
            if (!date.isValid()) {
                print.ok = false;
                print.error = QStringLiteral("Fehler (Zeile ") + QString::number(r + 1) +
                              QStringLiteral("): Kein gültiges Datum vorhanden!");
                print.lines.clear();
                return print;
            }
            line.vat = FormatFloat(QStringLiteral("0.0"), settings.Rate(row.Cell(kColVat), date));
        }
        long double amount = 0;
        if (TryStrToFloat(row.Cell(kColAmount), &amount)) {
            line.amount = FormatFloat(k2, amount);
        }
        const QString mark = row.Cell(kColBS).trimmed().toUpper();
        const QString paid = mark == QStringLiteral("B")   ? QStringLiteral("Bar")
                             : mark == QStringLiteral("S") ? QStringLiteral("Scheck")
                                                           : QString();
        print.lines.push_back(line);
        print.lines.push_back(
            {QString(), shortenRemark ? shortenRemark(row.Cell(kColRemark)) : row.Cell(kColRemark),
             QString(), paid});
    }
    return print;
}

QStringList CardPrintTitles(const CardState& state)
{
    const QString currency = QStringLiteral(" ") + state.currency;
    return {QStringLiteral("Karteikarte - Nr. ") + state.key,
            QString(),
            QStringLiteral("Kunde: ") + state.customerText,
            QString(),
            QStringLiteral("Gesamt brutto: ") + state.totalGross + currency,
            QStringLiteral("Davon bar brutto: ") + state.cashGross + currency,
            QString(),
            state.IsInvoiced() ? QStringLiteral("Rechnung (brutto): ") + state.invoiceGross +
                                     currency + QStringLiteral("  am ") + state.invoiceDate
                               : QString(),
            QString()};
}

QString CardPrintJobTitle(const QString& cardKey)
{
    QString key = cardKey;
    key.remove(QLatin1Char('/'));
    return QStringLiteral("Talven - Karteikarte ") + key;
}

}  // namespace card
