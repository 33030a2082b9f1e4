#pragma once

#include <QString>

class KeyValueSettings;

// The four account balances in the options file (section "Kontostand"): cash and bank of
// the practice ("Kasse", "Bank") and of the pharmacy ("Kasse2", "Bank2"), all in the one
// currency "Waehrung".
namespace balances {

enum class Business { Practice, Pharmacy };

struct Pair {
    long double cash = 0;
    long double bank = 0;
};

// The pair converted into the currency of the letter ("E" or "D"). Missing or unreadable
// values count as 0.
Pair ReadBalances(const KeyValueSettings& settings, Business business,
                  const QString& currencyLetter, long double dmRate);
// Writes both values and the currency; each write is tried, failures are ignored. When the
// currency changes, the stored values of the other pair are converted along with it.
void WriteBalances(KeyValueSettings& settings, Business business, const QString& currencyLetter,
                   long double cash, long double bank, long double dmRate);
void AddToCash(KeyValueSettings& settings, Business business, const QString& currencyLetter,
               long double amount, long double dmRate);
void AddToBank(KeyValueSettings& settings, Business business, const QString& currencyLetter,
               long double amount, long double dmRate);

// Which account a booking moves: cash for a payment kind beginning with "B", else bank; the
// pharmacy's pair for a customer text beginning with "(A)" when the pharmacy is defined.
struct Account {
    Business business = Business::Practice;
    bool cash = false;
};
Account AccountFor(const QString& paymentKind, const QString& customerText,
                   bool secondBusinessDefined);
void AddToAccount(KeyValueSettings& settings, const Account& account, const QString& currencyLetter,
                  long double amount, long double dmRate);

// The stored text of a balance: the shortest general form that reads back as the same
// number, with a decimal comma.
QString BalanceText(long double value);

}  // namespace balances
