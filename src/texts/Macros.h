#pragma once

#include <QList>
#include <QString>
#include <optional>

class IniFile;

// Text macros: one character expands to a stored text (section "ShortCuts" of the options
// file, the character as key). Keys of the options file compare without case, so 'a' and
// 'A' are one macro.
namespace macros {

inline constexpr int kMaxMacros = 30;
inline const QString kSection = QStringLiteral("ShortCuts");

struct Macro {
    QString letter;  // one character; empty on a row not filled in yet
    QString text;
};

QList<Macro> Read(const IniFile& ini);
// Erases the section and writes every macro with a letter.
bool Write(IniFile& ini, const QList<Macro>& macros);
// The text of the macro for a typed character, if there is one.
std::optional<QString> Lookup(const IniFile& ini, QChar letter);

// Characters the options file cannot hold as a key.
bool UsableLetter(QChar letter);

}  // namespace macros
