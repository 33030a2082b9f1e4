#include "bookkeeping/Balances.h"

#include <cstdio>

#include "common/KeyValueSettings.h"
#include "common/NumberFormat.h"

namespace balances {

namespace {

const QString kSection = QStringLiteral("Kontostand");
const QString kCurrency = QStringLiteral("Waehrung");

QString CashKey(Business business)
{
    return business == Business::Pharmacy ? QStringLiteral("Kasse2") : QStringLiteral("Kasse");
}

QString BankKey(Business business)
{
    return business == Business::Pharmacy ? QStringLiteral("Bank2") : QStringLiteral("Bank");
}

long double ReadValue(const KeyValueSettings& settings, const QString& key)
{
    QString text = QStringLiteral("0");
    settings.Read(kSection, key, &text);
    long double value = 0;
    return TryStrToFloatGeneral(text, &value) ? value : 0;
}

}  // namespace

QString BalanceText(long double value)
{
    char buf[64];
    for (int digits = 15; digits <= 18; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*Lg", digits, value);
        QString text = QString::fromLatin1(buf).replace(QLatin1Char('.'), QLatin1Char(','));
        text.replace(QLatin1Char('e'), QLatin1Char('E'));
        long double back = 0;
        if ((TryStrToFloatGeneral(text, &back) && back == value) || digits == 18)
            return text;
    }
    return {};
}

Pair ReadBalances(const KeyValueSettings& settings, Business business,
                  const QString& currencyLetter, long double dmRate)
{
    Pair pair{ReadValue(settings, CashKey(business)), ReadValue(settings, BankKey(business))};
    QString stored = QStringLiteral("Euro");
    settings.Read(kSection, kCurrency, &stored);
    const QString from = stored.left(1).toUpper();
    const QString to = currencyLetter.left(1).toUpper();
    long double factor = 1;
    if (from == QStringLiteral("D") && to == QStringLiteral("E"))
        factor = 1 / dmRate;
    else if (from == QStringLiteral("E") && to == QStringLiteral("D"))
        factor = dmRate;
    pair.cash *= factor;
    pair.bank *= factor;
    return pair;
}

void WriteBalances(KeyValueSettings& settings, Business business, const QString& currencyLetter,
                   long double cash, long double bank, long double dmRate)
{
    // One currency key serves both pairs: when it changes, the other pair moves with it,
    // else its stored values would silently count in the wrong currency.
    QString stored = QStringLiteral("Euro");
    settings.Read(kSection, kCurrency, &stored);
    if (stored.left(1).toUpper() != currencyLetter.left(1).toUpper()) {
        const Business other =
            business == Business::Practice ? Business::Pharmacy : Business::Practice;
        const Pair converted = ReadBalances(settings, other, currencyLetter, dmRate);
        QString ignored;
        if (settings.Read(kSection, CashKey(other), &ignored))
            settings.Write(kSection, CashKey(other), BalanceText(converted.cash));
        if (settings.Read(kSection, BankKey(other), &ignored))
            settings.Write(kSection, BankKey(other), BalanceText(converted.bank));
    }
    settings.Write(kSection, CashKey(business), BalanceText(cash));
    settings.Write(kSection, BankKey(business), BalanceText(bank));
    settings.Write(kSection, kCurrency,
                   currencyLetter.left(1).toUpper() == QStringLiteral("D")
                       ? QStringLiteral("DM")
                       : QStringLiteral("Euro"));
}

void AddToCash(KeyValueSettings& settings, Business business, const QString& currencyLetter,
               long double amount, long double dmRate)
{
    const Pair pair = ReadBalances(settings, business, currencyLetter, dmRate);
    WriteBalances(settings, business, currencyLetter, pair.cash + amount, pair.bank, dmRate);
}

void AddToBank(KeyValueSettings& settings, Business business, const QString& currencyLetter,
               long double amount, long double dmRate)
{
    const Pair pair = ReadBalances(settings, business, currencyLetter, dmRate);
    WriteBalances(settings, business, currencyLetter, pair.cash, pair.bank + amount, dmRate);
}

Account AccountFor(const QString& paymentKind, const QString& customerText,
                   bool secondBusinessDefined)
{
    Account account;
    account.cash = paymentKind.startsWith(QLatin1Char('B'));
    if (secondBusinessDefined && customerText.startsWith(QStringLiteral("(A)")))
        account.business = Business::Pharmacy;
    return account;
}

void AddToAccount(KeyValueSettings& settings, const Account& account, const QString& currencyLetter,
                  long double amount, long double dmRate)
{
    if (account.cash)
        AddToCash(settings, account.business, currencyLetter, amount, dmRate);
    else
        AddToBank(settings, account.business, currencyLetter, amount, dmRate);
}

}  // namespace balances
