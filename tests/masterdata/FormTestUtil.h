#pragma once

#include <QString>
#include <ostream>

#include "common/FormField.h"
#include "masterdata/PriceRules.h"

// The rates of the price forms: 19/7/0 today, 16/5/0 before the cut-off date.
inline PriceSettings Settings()
{
    PriceSettings s;
    s.currentVat = {19, 7, 0};
    s.previousVat = {16, 5, 0};
    return s;
}

// Types text key by key into a form field, as a person would; returns the keys refused.
inline QString Type(FormBase& form, int id, const QString& keys)
{
    QString refused;
    for (QChar key : keys)
        if (!form.KeyPress(id, key))
            refused += key;
    return refused;
}

// Replaces the field's text by typing, the old text selected first.
inline QString Retype(FormBase& form, int id, const QString& keys)
{
    form.Field(id).SelectAll();
    if (keys.isEmpty()) {
        form.KeyPress(id, kKeyBackspace);
        return {};
    }
    return Type(form, id, keys);
}

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
