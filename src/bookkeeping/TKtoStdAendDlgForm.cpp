#include "bookkeeping/TKtoStdAendDlgForm.h"

#include "bookkeeping/Balances.h"
#include "common/NumberFormat.h"

TKtoStdAendDlgForm::TKtoStdAendDlgForm(KeyValueSettings& options,
                                       const BookkeepingSettings& settings,
                                       const QString& currencyLetter)
    : FormBase(kCount), m_options(options), m_settings(settings), m_letter(currencyLetter)
{
    const auto show = [this](balances::Business business, int cash, int bank) {
        const balances::Pair pair =
            balances::ReadBalances(m_options, business, m_letter, m_settings.dmRate);
        m_fields[cash].SetText(FormatFloat(QStringLiteral("0.00"), pair.cash));
        m_fields[bank].SetText(FormatFloat(QStringLiteral("0.00"), pair.bank));
    };
    show(balances::Business::Practice, KasseEdit, BankEdit);
    show(balances::Business::Pharmacy, Kasse2Edit, Bank2Edit);
}

QString TKtoStdAendDlgForm::FieldCaption(int id) const
{
    switch (id) {
        case KasseEdit:
            return Tall() ? QStringLiteral("Praxis - Kasse:") : QStringLiteral("Kasse (bar):");
        case BankEdit:
            return Tall() ? QStringLiteral("Praxis - Bank:")
                          : QStringLiteral("Bank (Scheck, Üw.):");
        case Kasse2Edit:
            return QStringLiteral("Apotheke - Kasse:");
        default:
            return QStringLiteral("Apotheke - Bank:");
    }
}

QString TKtoStdAendDlgForm::PairLabel(int id) const
{
    if (!Tall())
        return {};
    return id == KasseEdit || id == BankEdit ? QStringLiteral("Praxis  ")
                                             : QStringLiteral("Apotheke  ");
}

QString TKtoStdAendDlgForm::CurrencyText() const
{
    return m_letter.startsWith(QLatin1Char('D')) ? QStringLiteral("DM") : QStringLiteral("Euro");
}

QChar TKtoStdAendDlgForm::FilterKey(int id, QChar key)
{
    const FormField& field = m_fields[id];
    if (key == kKeyBackspace)
        return key;
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    if (!key.isDigit() && key != QLatin1Char(',') && key != QLatin1Char('-'))
        return {};
    const QString after = field.TextWith(key);
    if (after.count(QLatin1Char(',')) > 1 || after.count(QLatin1Char('-')) > 1)
        return {};
    // A minus anywhere but in front would make the balance unreadable, and that counts as 0.
    if (key == QLatin1Char('-') && field.InsertPos() != 0)
        return {};
    if (field.selLength > 0)
        return key;
    const QString& text = field.text;
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        const qsizetype decimals = text.size() - comma - 1;
        if ((decimals >= 2 && field.cursor > comma) || text.size() > 9)
            return {};
    } else if (text.size() >= 7 && key != QLatin1Char(',')) {
        return {};
    }
    return key;
}

bool TKtoStdAendDlgForm::Leave(int id, bool)
{
    if (m_fields[id].text.isEmpty())
        m_fields[id].SetText(QStringLiteral("0"));
    return true;
}

long double TKtoStdAendDlgForm::Value(int id) const
{
    long double value = 0;
    return TryStrToFloat(m_fields[id].text, &value) ? value : 0;
}

void TKtoStdAendDlgForm::Save()
{
    balances::WriteBalances(m_options, balances::Business::Practice, m_letter, Value(KasseEdit),
                            Value(BankEdit), m_settings.dmRate);
    if (m_settings.secondBusinessDefined)
        balances::WriteBalances(m_options, balances::Business::Pharmacy, m_letter,
                                Value(Kasse2Edit), Value(Bank2Edit), m_settings.dmRate);
}
