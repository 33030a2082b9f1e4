#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "texts/Macros.h"

class UserPort;

// The macro dialog: a list of letters and their texts ("Makros definieren"). In its
// favourites mode it lists the names of the favourites, of which entries are deleted.
class TMakroDlgForm {
public:
    enum class Mode { Macros, Favorites };

    TMakroDlgForm(Mode mode, UserPort& port) : m_mode(mode), m_port(port) {}

    Mode GetMode() const { return m_mode; }
    QString Caption() const;
    QString Hint() const;

    void LoadMacros(const QList<macros::Macro>& list) { m_rows = list; }
    void LoadFavorites(const QStringList& names);

    int RowCount() const { return int(m_rows.size()); }
    const macros::Macro& Row(int row) const { return m_rows[row]; }

    // "Einfg." adds a row while there are fewer than 30; favourites are only deleted here.
    bool CanAdd() const;
    int Add();  // index of the new row, -1 when refused
    void Delete(int row);

    // A letter typed into a row; one already used by another row is refused.
    bool SetLetter(int row, const QString& letter);
    void SetText(int row, const QString& text);

    QList<macros::Macro> Macros() const { return m_rows; }
    QStringList FavoriteNames() const;

private:
    Mode m_mode;
    UserPort& m_port;
    QList<macros::Macro> m_rows;  // favourites: the name is the text
};
