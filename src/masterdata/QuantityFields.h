#pragma once

#include <QString>

#include "common/FormField.h"

// The two quantity fields of the medication and service workspaces ("MengeMedEdit",
// "MengeLeistungEdit"). The take-over into a record card reads them: a plain number or a
// fraction a/b (an empty b counts as 1), so a pack share like "1/3" survives unrounded.
class QuantityFields {
public:
    enum Which { Medication, Service };

    static inline const QString kDefault = QStringLiteral("1,00");

    QuantityFields();

    FormField& Field(Which which) { return which == Medication ? m_med : m_service; }
    const FormField& Field(Which which) const { return which == Medication ? m_med : m_service; }
    QString Text(Which which) const { return Field(which).text; }

    // Digits, the comma (a point becomes one) and one slash; each side of the slash takes
    // one comma and at most six digits before it. Refused keys change nothing.
    bool KeyPress(Which which, QChar key);
    // Leaving the field: empty or unusable text becomes "1,00", a plain number is written
    // "0.00", a fraction stays as typed (without blanks).
    void Leave(Which which);

    // Both fields to "1,00" (after a search, a grid key, a change of the tables).
    void Reset();
    // A digit typed into the search field: both fields take it, formatted "0.00".
    void SetBoth(const QString& quantity);

    // The text a field holds after its leaving rule.
    static QString Normalised(const QString& text);
    // Key filter on a field's state; a null QChar when the key is refused.
    static QChar FilterKey(const FormField& field, QChar key);

private:
    FormField m_med;
    FormField m_service;
};
