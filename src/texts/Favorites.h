#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Favourites: named paragraphs of standard text for the notes, in FAVORITE.DBF (five
// cells: the name on a favourite's first row only, one text line, three empty cells). A
// favourite runs from its named row to the next named row.
namespace favorites {

inline constexpr int kMax = 30;
inline constexpr int kMaxNameLength = 40;
inline const QString kFileName = QStringLiteral("FAVORITE.DBF");

QStringList Names(const QStringList& lines);
// The text lines of a favourite, in order.
QStringList Texts(const QStringList& lines, const QString& name);
// The name as it is stored (leading blanks removed, cut to 40), or the error message.
struct NameCheck {
    QString name;
    QString error;
};
NameCheck CheckName(const QStringList& lines, const QString& typed);
// Appends a favourite of the given text lines (at least one row, even for no text).
void Append(QStringList& lines, const QString& name, const QStringList& texts);
// Removes every favourite whose name is not listed, with its rows.
void KeepOnly(QStringList& lines, const QStringList& names);

}  // namespace favorites

// Asks the name of a new favourite in the small edit dialog ("Zu Favoriten hinzufügen", up
// to 40 characters). `check` returns the error message for a refused name and an empty text
// for a free one; the dialog shows the error and stays open, so the name it returns has
// passed the check. No name: the person cancelled.
class FavoriteNameAsker {
public:
    using Check = std::function<QString(const QString& name)>;
    virtual ~FavoriteNameAsker() = default;
    virtual std::optional<QString> AskName(const Check& check) = 0;
};
