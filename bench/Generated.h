#pragma once

// Generated data of a practice's size for the benchmarks.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include "common/CodePage.h"

namespace generated {

inline const char* const kLastNames[] = {"Müller", "Schäfer", "Meier",  "Weiß",
                                         "Öztürk", "Schmidt", "Bäcker", "Hoffmann",
                                         "Krüger", "Wagner",  "Becker", "Groß"};
inline const char* const kFirstNames[] = {"Jürgen", "Anna",  "Björn", "Sören",
                                          "Eva",    "Klaus", "Änne"};
inline const char* const kStreets[] = {"Hauptstraße", "Bahnhofstr.", "Am Mühlbach", "Lindenallee"};
inline const char* const kCities[] = {"Köln", "München", "Düsseldorf", "Lübeck", "Bonn", "Fürth"};

// About 100 bytes a line, like the customer table: name, first name, street, postcode and
// town, customer number (of 10,000), phone, salutation, remark, current card, mail, amounts.
inline QStringList CustomerLines(int count, int currentCard = 1)
{
    QRandomGenerator rng(42);
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString line;
        line += QString::fromUtf8(kLastNames[rng.bounded(12)]) + '\t';
        line += QString::fromUtf8(kFirstNames[rng.bounded(7)]) + '\t';
        line += QString::fromUtf8(kStreets[rng.bounded(4)]) + ' ' +
                QString::number(rng.bounded(1, 200)) + '\t';
        line += QString::number(rng.bounded(10000, 99999)) + ' ' +
                QString::fromUtf8(kCities[rng.bounded(6)]) + '\t';
        line += QStringLiteral("%1\t").arg(i % 10000, 4, 10, QLatin1Char('0'));
        line += QStringLiteral("0221/%1\t").arg(rng.bounded(100000, 999999));
        line += QStringLiteral("Herrn\t");
        line += (i % 7 == 0 ? QStringLiteral("(A) Hund") : QStringLiteral("Katze")) + '\t';
        line += QStringLiteral("%1\t").arg(currentCard, 3, 10, QLatin1Char('0'));
        line += QStringLiteral("\t%1.%2.2024\t").arg(rng.bounded(10, 28)).arg(rng.bounded(10, 12));
        line += QStringLiteral("%1,%2\t\tTRUE\t")
                    .arg(rng.bounded(0, 999))
                    .arg(rng.bounded(10000, 99999));
        lines << line;
    }
    return lines;
}

inline bool WriteFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A record card of a few treatments with its header.
inline QByteArray CardFile(const QString& number, int card)
{
    QStringList lines;
    for (int i = 0; i < 8; ++i)
        lines << QStringLiteral("01.02.2024\tImpfung Bello %1\t1\t10,00000\t\t\t\t\t").arg(i);
    lines << QStringLiteral("---KOPF---")
          << number + QLatin1Char('/') + QStringLiteral("%1").arg(card, 3, 10, QLatin1Char('0'))
          << QStringLiteral("Kunde") << number << QStringLiteral("0,00") << QStringLiteral("Euro");
    return cp1252::JoinLines(lines);
}

}  // namespace generated
