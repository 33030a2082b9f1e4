#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A pack that an article name states with a unit word and a count, such as
// "Milbemax Tabl. 4 St." (4 tablets) or "Frontline Pip. 3 St." (3 pipettes).
struct PackUnits {
    int size = 0;
    QString unit;  // as written in the name: "Pip.", "Tab.", "Amp." or "Tabl."
    // Positions of the unit word and of the count among the name's blank-separated words.
    int unitWord = -1;
    int countWord = -1;
};

// The first of the unit words "Tabl.", "Tab.", "Pip.", "Amp." that stands as a word of its
// own (any case), and the whole number right after it ("Tabl. 4 St.") or, failing that,
// right before it ("4 Tabl."). A count below 2 is no pack of units.
std::optional<PackUnits> ReadPackUnits(const QString& article);
// The same with further unit words (the dispensing record also knows "%", "g", "mg", "ml").
std::optional<PackUnits> ReadPackUnits(const QString& article, const QStringList& moreUnits);

// A quantity typed as a/b whose denominator is the pack size: b-th parts of the pack,
// counted in units ("1/4" of a 4-tablet pack is one tablet).
bool IsPackFraction(const QString& article, int denominator, PackUnits* units = nullptr);
