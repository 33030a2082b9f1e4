// Take-overs from the medication and service lists, and the calculator.
#include "cards/CardEntryForm.h"
#include "common/DateUtil.h"
#include "common/NumberFormat.h"
#include "common/UserPort.h"

namespace card {

namespace {

const QString k2 = QStringLiteral("0.00");
const QString k5 = QStringLiteral("0.00000");
constexpr long double kCalculatorLimit = 20000;
constexpr size_t kLastMedications = 20;

long double NumberOf(const QString& text)
{
    long double value = 0;
    return TryStrToFloat(text, &value) ? value : 0;
}

}  // namespace

Medication MedicationFromLine(const QString& line)
{
    using namespace recordline;
    const QStringList cells = Split(line, kMedicationCells);
    const auto cell = [&cells](int col) { return cells.at(col - 1); };
    Medication m;
    m.article = cell(kMedArticle);
    m.purchaseNet = NumberOf(cell(kMedPurchaseNet));
    m.saleNet = NumberOf(cell(kMedSaleNet));
    m.saleGross = NumberOf(cell(kMedSaleGross));
    m.vatCode = cell(kMedVatCode);
    m.waitingTime = cell(kMedWaitingTime);
    m.batch = cell(kMedBatch);
    m.code = cell(kMedCode);
    return m;
}

Service ServiceFromLine(const QString& line)
{
    using namespace recordline;
    const QStringList cells = Split(line, kServiceCells);
    const auto cell = [&cells](int col) { return cells.at(col - 1); };
    Service s;
    s.name = cell(kSvcText);
    s.animal = cell(kSvcAnimal);
    s.factor = cell(kSvcFactor);
    s.net = NumberOf(cell(kSvcNet));
    s.gross = NumberOf(cell(kSvcGross));
    s.vatCode = cell(kSvcVatCode);
    s.gotNumber = cell(kSvcNumber);
    return s;
}

bool ParseQuantity(const QString& text, const QString& article, Quantity* quantity)
{
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    long double a = 0;
    if (slash < 0) {
        if (!TryStrToFloat(text, &a))
            return false;
        *quantity = Quantity{RoundCents(a), false, 0, {}};
        return true;
    }
    long double b = 1;
    const QString denominator = text.mid(slash + 1).trimmed();
    if (!TryStrToFloat(text.left(slash), &a) ||
        (!denominator.isEmpty() && !TryStrToFloat(denominator, &b)))
        return false;
    PackUnits units;
    if (a == Trunc(a) && b == Trunc(b) && b <= 999 && IsPackFraction(article, int(b), &units)) {
        *quantity = Quantity{a / b, true, a, units.unit};
        return true;
    }
    a = RoundCents(a);
    b = RoundCents(b);
    if (b == 0)
        return false;
    *quantity = Quantity{RoundCents(a / b), false, 0, {}};
    return true;
}

QString QuantityText(long double quantity)
{
    const QString two = FormatFloat(k2, quantity);
    if (two.endsWith(QStringLiteral(",00")))
        return FormatFloat(QStringLiteral("0"), quantity);
    if (two.endsWith(QLatin1Char('0')))
        return FormatFloat(QStringLiteral("0.0"), quantity);
    return two;
}

void CardEntryForm::SetCalculatorMode(bool on)
{
    if (on && !m_calculatorMode) {
        m_calculator.clear();
        m_calculatorTotal.clear();
    }
    m_calculatorMode = on;
}

void CardEntryForm::MoveToNextLine()
{
    SetCurrentCell(m_col, m_row + 1);
}

void CardEntryForm::AddCalculatorRow(const QString& text, long double amount)
{
    m_calculator.push_back({text, FormatFloat(k2, amount)});
    long double sum = 0;
    for (const CalculatorRow& row : m_calculator)
        sum += NumberOf(row.amount);
    m_calculatorTotal = FormatFloat(k2, sum);
    if (m_col != kColAmount)
        return;
    if (sum == 0) {
        Current().Cell(kColAmount).clear();
        Current().Cell(kColVat).clear();
    } else {
        Current().SetCell(kColAmount, FormatFloat(k5, NumberOf(m_calculatorTotal)));
    }
}

void CardEntryForm::CalculatorToRemark()
{
    QStringList texts;
    for (const CalculatorRow& row : m_calculator)
        texts << row.text;
    QString remark = texts.join(QStringLiteral(", "));
    if (remark.size() > kMaxRemarkLength)
        remark = remark.left(196) + QStringLiteral("...");
    Current().SetCell(kColRemark, remark);
    m_modified = true;
}

// Steps shared by both take-overs once the text is written: currency, VAT code, amount.
bool CardEntryForm::TakeOverAmount(const QString& vatCode, long double amount,
                                   const QString& calcText)
{
    Row& row = Current();
    if (m_state.currency.left(1).compare(m_settings.currency.left(1), Qt::CaseInsensitive) != 0) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Währung der Liste entspricht\r     "
                                                      "nicht der Währung der Rechnung!"));
        return false;
    }
    if (m_calculatorMode && !row.Cell(kColVat).isEmpty() && row.Cell(kColVat) != vatCode) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Verschiedene USt !"));
        return false;
    }
    row.SetCell(kColVat, vatCode);
    const long double added = amount;
    if (m_calculatorMode)
        amount += NumberOf(row.Cell(kColAmount));
    if (amount == 0) {
        row.Cell(kColVat).clear();
        row.Cell(kColAmount).clear();
    } else {
        row.SetCell(kColAmount, FormatFloat(k5, amount));
    }
    if (m_calculatorMode)
        AddCalculatorRow(calcText, added);
    return true;
}

bool CardEntryForm::StartTakeOver(bool listHasRecord, const QString& emptyText,
                                  const QString& quantityText, const QString& article,
                                  Quantity* quantity)
{
    if (!listHasRecord) {
        m_port.Message(MsgKind::Information, emptyText);
        return false;
    }
    if (m_state.IsInvoiced())
        return false;
    if (!ParseQuantity(quantityText, article, quantity)) {
        m_port.Message(MsgKind::Error, QStringLiteral("Ungültige Menge: ") + quantityText);
        return false;
    }
    return true;
}

bool CardEntryForm::TakeOverMedication(const Medication* medication)
{
    Quantity quantity;
    if (!StartTakeOver(medication != nullptr, QStringLiteral("Medikamentenliste ist leer!"),
                       m_medQuantity, medication ? medication->article : QString(), &quantity))
        return false;
    const QString quantityText =
        quantity.packUnits ? QuantityText(quantity.units) + QLatin1Char(' ') + quantity.unit
                           : QuantityText(quantity.value);

    QString text;
    if (m_settings.menge1Druck && quantity.value != 1) {
        text = quantity.packUnits ? quantityText + QStringLiteral(" aus  ")
                                  : quantityText + QStringLiteral(" x  ");
    }
    text += medication->article;
    m_lastMedications.insert(
        m_lastMedications.begin(),
        LastMedication{text, medication->article, medication->batch,
                       m_hundredPercent ? FormatFloat(k2, quantity.value) : QString(),
                       FormatFloat(k2, quantity.value), medication->waitingTime});
    if (m_lastMedications.size() > kLastMedications)
        m_lastMedications.resize(kLastMedications);

    if (m_calculatorMode) {
        m_col = kColAmount;
        if (NumberOf(Current().Cell(kColAmount)) > kCalculatorLimit) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Fehler bei Summation (Rechner),\rZahl zu groß!"));
            return false;
        }
    }
    Row& row = Current();
    // The text goes in only whole: the save would cut what is longer than the column keeps.
    if (m_col == kColDate || m_col == kColText) {
        if (row.Cell(kColText).size() + text.size() <= kMaxTextLength)
            row.Cell(kColText) += text;
    } else if (m_col == kColRemark) {
        const QString remark = text + QLatin1Char(' ') + row.Cell(kColRemark);
        if (remark.size() <= kMaxRemarkLength)
            row.SetCell(kColRemark, remark);
    }
    m_modified = true;

    long double amount = 0;
    const bool gross = m_state.IsGross();
    if (m_hundredPercent) {
        amount = medication->purchaseNet * quantity.value * 2;
        if (gross)
            amount *= 1 + m_settings.GroupRate(m_settings.Group(medication->vatCode, {})) / 100;
    } else {
        amount = (gross ? medication->saleGross : medication->saleNet) * quantity.value;
    }
    const int row0 = m_row;
    if (!TakeOverAmount(
            medication->vatCode, amount,
            medication->article + QStringLiteral(" (") + quantityText + QLatin1Char(')')))
        return false;
    row.SetCell(kColQuantity, FormatFloat(k2, quantity.value));
    row.SetCell(kColMedCode, medication->code);
    if (!m_calculatorMode)
        MoveToNextLine();
    if (m_stockReport)
        m_stockReport(quantity.value, medication->code, RowDate(m_rows, row0));
    return true;
}

bool CardEntryForm::TakeOverService(const Service* service)
{
    Quantity quantity;
    if (!StartTakeOver(service != nullptr, QStringLiteral("Liste der Leistungen ist leer!"),
                       m_serviceQuantity, QString(), &quantity))
        return false;
    if (m_calculatorMode) {
        m_col = kColAmount;
        if (NumberOf(Current().Cell(kColAmount)) > kCalculatorLimit) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Fehler bei Summation (Rechner),\rZahl zu groß!"));
            return false;
        }
    }
    Row& row = Current();
    {
        QString text;
        if (m_settings.menge2Druck && quantity.value != 1)
            text = QuantityText(quantity.value) + QStringLiteral(" x  ");
        if (m_settings.tierDruck && !service->animal.isEmpty())
            text += service->animal + QStringLiteral(", ");
        text += service->name;
        const bool got = m_settings.gotDruck && !service->gotNumber.isEmpty();
        const bool factor =
            m_settings.faktorDruck && FormatFloat(k2, service->net) != QStringLiteral("0,00");
        if (got || factor) {
            text += QStringLiteral(" ( ");
            if (got)
                text += QStringLiteral("GOT ") + service->gotNumber + QLatin1Char(' ');
            if (factor)
                text += QStringLiteral("Faktor ") + service->factor + QLatin1Char(' ');
            text += QLatin1Char(')');
        }
        // Only whole: the save would cut what is longer than the column keeps.
        if (row.Cell(kColText).size() + text.size() <= kMaxTextLength)
            row.Cell(kColText) += text;
    }
    m_modified = true;

    const long double amount = (m_state.IsGross() ? service->gross : service->net) * quantity.value;
    if (!TakeOverAmount(
            service->vatCode, amount,
            service->name + QStringLiteral(" (") + QuantityText(quantity.value) + QLatin1Char(')')))
        return false;
    if (!m_calculatorMode)
        MoveToNextLine();
    return true;
}

}  // namespace card
