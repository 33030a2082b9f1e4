#pragma once

#include <QString>

// Amounts and quantities: decimal comma, no thousands separator.
//
// FormatFloat supports the patterns "0", "0.0", "0.00", "0.00000", "000", "0000" (and any
// pattern of zeros with an optional fraction of zeros). Halves go away from zero on the
// decimal value: the number is first written with 18 significant digits, and that decimal
// text is rounded, so 1.005 gives "1,01".
QString FormatFloat(const QString& pattern, long double value);

// Accepts blanks around, an optional sign and digits with at most one decimal comma; every
// number typed or read from a table is taken this way. Anything else (an exponent, a TAB, a
// point) is not a number: returns false, value kept.
bool TryStrToFloat(const QString& text, long double* value);
// The general floating-point form the account balances are stored in: as TryStrToFloat,
// with an optional exponent ("5,55E-17").
bool TryStrToFloatGeneral(const QString& text, long double* value);

// Integer parsing as the program does it: optional sign and digits, blanks around.
bool TryStrToInt(const QString& text, int* value);

// Rounding helpers: Trunc cuts towards zero, Round takes halves to even.
long double Trunc(long double value);
long double Round(long double value);

// Rounds to cents the program's way: format "0.00" and read the text back.
long double RoundCents(long double value);
// TryStrToFloat followed by RoundCents, bit for bit, for the sums and comparisons that run
// over whole registers: the stored form of an amount ("119,00000") is rounded on its digits,
// without the detour through the formatter.
bool TryStrToCents(QStringView text, long double* value);
