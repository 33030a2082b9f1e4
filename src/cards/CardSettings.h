#pragma once

#include <QDate>
#include <QString>
#include <array>

// The options the record card reads. The shell fills it from TLV.INI; tests fill it by hand.
struct CardSettings {
    std::array<long double, 3> currentVat{19, 7, 0};  // "Mwst1Edit" .. "Mwst3Edit"
    std::array<long double, 3> oldVat{16, 7, 0};      // "AlteMwst1Edit" .. "AlteMwst3Edit"
    QDate keyDate{2008, 1, 1};                        // "StichtagsDatumEdit"
    QString currency = QStringLiteral("Euro");        // "Euro" or "DM" ("EuroChk")
    long double dmRate = 1.95583L;                    // "DmEdit", DM per Euro

    // Take-over texts.
    bool menge1Druck = false;  // quantity before a medication
    bool menge2Druck = false;  // quantity before a service
    bool tierDruck = false;    // animal before a service
    bool gotDruck = false;     // fee-schedule number after a service
    bool faktorDruck = false;  // factor after a service

    bool remarkAlwaysEditable = false;   // "Bemerkungsfreigabe"
    bool gobdRestrictions = true;        // on at every start
    bool secondBusinessDefined = false;  // pharmacy name set and a differing bank account

    // VAT group 1..6 of a code at a date: groups 4..6 hold the old rates before the key date.
    // Codes other than "2" and "3" count as "1".
    int Group(const QString& code, const QDate& date) const;
    long double GroupRate(int group) const;
    // The rate of a group as the summary shows it ("0.0").
    QString GroupRateText(int group) const;
    long double Rate(const QString& code, const QDate& date) const
    {
        return GroupRate(Group(code, date));
    }
    QString CurrencyLetter() const { return currency.left(1).toUpper(); }
};
