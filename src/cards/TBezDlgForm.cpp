#include "cards/TBezDlgForm.h"

#include <algorithm>
#include <cmath>

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/KeyValueSettings.h"
#include "common/UserPort.h"

namespace card {

namespace {

const QString k2 = QStringLiteral("0.00");
const QString kSkonto = QStringLiteral("Skonto");
const QString kModeSection = QStringLiteral("ZahlungsModus");
const QString kModeKey = QStringLiteral("ZahlMod");

long double NumberOrZero(const QString& text)
{
    long double value = 0;
    return TryStrToFloat(text, &value) ? value : 0;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

TBezDlgForm::TBezDlgForm(const CardState& state, const Clock& clock, KeyValueSettings& options,
                         QDate* lastPaymentDate)
    : FormBase(kFieldCount), m_clock(clock), m_options(options), m_lastPaymentDate(lastPaymentDate)
{
    m_currency = state.currency;
    m_invoiceGross = state.invoiceGross;
    m_invoiceDate = state.invoiceDate;
    const QStringList& summary = state.summary;
    for (int i = 0; i < 2; ++i) {
        const int feeLine = i == 0 ? kSumFee1 : kSumFee2;
        const bool set = i == 0 ? state.reminder1 : state.reminder2;
        long double fee = 0;
        if (set && summary.size() > feeLine + 1 && TryStrToFloat(summary[feeLine], &fee)) {
            m_fee[i] = FormatFloat(k2, fee);
            m_feeDate[i] = summary[feeLine + 1];
        } else {
            m_fee[i] = kUnset;
            m_feeDate[i] = kUnset;
        }
    }
    m_earlier = summary.mid(kSumFirstPayment);

    QString stored = QStringLiteral("0.0");
    m_options.Read(kSkonto, kSkonto, &stored);
    Field(kDiscount).SetText(FormatFloat(QStringLiteral("0.0"), NumberOrZero(stored)));
    Field(kDiscount).maxLength = 4;
    QString mode;
    m_options.Read(kModeSection, kModeKey, &mode);
    m_kind = PaymentKindFromKey(mode);

    m_open = ExactOpenAmount(state);
    m_paid = m_open == 0;
    if (m_paid) {
        for (FormField& field : m_fields)
            field.readOnly = true;
        const bool writtenOff =
            !m_earlier.isEmpty() && m_earlier.last().contains(QStringLiteral("ausgebucht"));
        m_status = writtenOff ? QStringLiteral("Rechnung bezahlt, (Rest-) Betrag wurde ausgebucht!")
                              : QStringLiteral("Rechnung ist bezahlt!");
        Field(kAmount).SetText(FormatFloat(k2, 0));
        Field(kDate).SetText(dates::Format(m_clock.Today()));
        return;
    }
    Field(kAmount).SetText(FormatFloat(k2, m_open));
    QDate date = m_clock.Today();
    if (m_kind != PaymentKind::Cash && m_lastPaymentDate && m_lastPaymentDate->isValid())
        date = *m_lastPaymentDate;
    Field(kDate).SetText(dates::Format(date));
    Field(kDate).maxLength = 10;
}

QString TBezDlgForm::InvoiceSumText() const
{
    return QStringLiteral("Rechnungssumme: ") + m_invoiceGross + QLatin1Char(' ') + m_currency +
           QStringLiteral("  (") + m_invoiceDate + QLatin1Char(')');
}

QString TBezDlgForm::FeeText(int reminder) const
{
    return m_fee[std::clamp(reminder, 1, 2) - 1];
}

QString TBezDlgForm::FeeDateText(int reminder) const
{
    return m_feeDate[std::clamp(reminder, 1, 2) - 1];
}

QString TBezDlgForm::OpenText() const
{
    return FormatFloat(k2, m_open);
}

long double TBezDlgForm::Amount() const
{
    return NumberOrZero(Text(kAmount));
}

QString TBezDlgForm::EchoText() const
{
    return FormatFloat(k2, Amount());
}

QString TBezDlgForm::RestText() const
{
    const long double rest = m_open - Amount();
    return Rest() < 0 ? QStringLiteral("neg.") : FormatFloat(k2, rest);
}

QString TBezDlgForm::PercentText() const
{
    if (Rest() <= 0 || m_open == 0)
        return {};
    const long double rest = m_open - Amount();
    return QStringLiteral("(= ") + FormatFloat(QStringLiteral("0.0"), rest / m_open * 100) +
           QStringLiteral(" % von ") + FormatFloat(k2, m_open) + QLatin1Char(')');
}

void TBezDlgForm::SetKind(PaymentKind kind)
{
    m_kind = kind;
    m_options.Write(kModeSection, kModeKey, PaymentKindKey(kind));
}

long double TBezDlgForm::Discount() const
{
    return std::clamp<long double>(NumberOrZero(Text(kDiscount)), 0, 100);
}

void TBezDlgForm::ComputeDiscount()
{
    if (m_paid)
        return;
    SetText(kAmount, FormatFloat(k2, m_open * (1 - Discount() / 100)));
}

void TBezDlgForm::PutToday()
{
    if (!Field(kDate).readOnly)
        SetText(kDate, dates::Format(m_clock.Today()));
}

bool TBezDlgForm::KeyPress(int id, QChar key)
{
    if (id == kDiscount && key == QLatin1Char(' ')) {
        ComputeDiscount();
        return false;
    }
    return FormBase::KeyPress(id, key);
}

QChar TBezDlgForm::FilterKey(int id, QChar key)
{
    if (id == kDate)
        return key;
    if (key == kKeyBackspace)
        return key;
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    if (!IsDigit(key) && key != QLatin1Char(','))
        return {};
    const FormField& field = Field(id);
    QString rest = field.text;
    if (field.selLength > 0)
        rest.remove(field.selStart, field.selLength);
    if (key == QLatin1Char(',') && rest.contains(QLatin1Char(',')))
        return {};
    const long double value = NumberOrZero(field.TextWith(key));
    if (id == kAmount)
        return FormatFloat(k2, value).size() > 9 ? QChar() : key;
    // Discount: "99,9" at most.
    if (FormatFloat(QStringLiteral("0.0"), value).size() > 4 || value > 99.9L)
        return {};
    return key;
}

bool TBezDlgForm::Leave(int id, bool closingOk)
{
    (void)closingOk;
    if (id == kAmount && !m_paid) {
        if (Text(kAmount).trimmed().isEmpty())
            SetText(kAmount, QStringLiteral("0"));
        SetText(kAmount, FormatFloat(k2, Amount()));
    }
    return true;
}

bool TBezDlgForm::Ok(UserPort& port)
{
    m_hasEntry = false;
    if (m_paid)
        return true;
    Leave(kAmount, true);

    QDate date;
    if (!dates::TryParse(Text(kDate), &date)) {
        port.Message(MsgKind::Error, QStringLiteral("Fehler: Datum ungültig!"));
        RequestFocus(kDate);
        return false;
    }
    const long double rest = Rest();
    if (m_writeOff && rest > 0) {
        const QString question = QStringLiteral("Rest (") + FormatFloat(k2, rest) +
                                 QLatin1Char(' ') + m_currency +
                                 QStringLiteral(") wirklich ausbuchen?");
        if (port.Message(MsgKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
            return false;
    }
    long double newOpen = m_open - Amount();
    if (RoundCents(newOpen) < 0) {
        port.Message(MsgKind::Error,
                     QStringLiteral("Fehler: Zahlungsbetrag ist größer als offener Betrag!"));
        RequestFocus(kAmount);
        return false;
    }
    if (std::fabs(newOpen) < 0.01L)
        newOpen = 0;

    m_options.Write(kSkonto, kSkonto,
                    FormatFloat(QStringLiteral("0.0"), NumberOrZero(Text(kDiscount))));
    if (m_lastPaymentDate)
        *m_lastPaymentDate = date;

    m_entry = PaymentEntry{};
    m_entry.amount = Amount();
    m_entry.date = date;
    m_entry.kind = m_kind;
    m_entry.newOpen = newOpen;
    m_entry.writeOff = m_writeOff;
    m_entry.rest = rest;
    m_hasEntry = true;
    return true;
}

bool EnterPayment(PaymentDialogRunner& runner, Rows& rows, CardState& state,
                  const CardSettings& settings, UserPort& port, const Clock& clock,
                  KeyValueSettings& options, QDate* lastPaymentDate,
                  std::vector<PendingBooking>& pending, bool* changed)
{
    if (changed)
        *changed = false;
    TBezDlgForm form(state, clock, options, lastPaymentDate);
    if (!runner.Run(form))
        return false;
    if (form.HasEntry()) {
        const bool applied = ApplyPayment(rows, state, settings, port, form.Entry(), pending);
        if (changed)
            *changed = applied;
    }
    return true;
}

}  // namespace card
