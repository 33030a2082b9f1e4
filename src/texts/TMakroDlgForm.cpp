#include "texts/TMakroDlgForm.h"

#include "common/UserPort.h"

QString TMakroDlgForm::Caption() const
{
    return m_mode == Mode::Macros ? QStringLiteral("Makros definieren")
                                  : QStringLiteral("Favoriten verwalten");
}

QString TMakroDlgForm::Hint() const
{
    return m_mode == Mode::Macros
               ? QStringLiteral("'Strg+M+?'  gibt definierten Makrotext aus.")
               : QStringLiteral(
                     "Markieren Sie einen Eintrag, um diesen aus den Favoriten zu "
                     "löschen.");
}

void TMakroDlgForm::LoadFavorites(const QStringList& names)
{
    m_rows.clear();
    for (const QString& name : names)
        m_rows.append({QString(), name});
}

bool TMakroDlgForm::CanAdd() const
{
    return m_mode == Mode::Macros && m_rows.size() < macros::kMaxMacros;
}

int TMakroDlgForm::Add()
{
    if (!CanAdd())
        return -1;
    m_rows.append(macros::Macro{});
    return int(m_rows.size()) - 1;
}

void TMakroDlgForm::Delete(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_rows.removeAt(row);
}

bool TMakroDlgForm::SetLetter(int row, const QString& letter)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    const QString typed = letter.left(1);
    if (!typed.isEmpty() && !macros::UsableLetter(typed[0]))
        return false;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (i != row && !typed.isEmpty() &&
            m_rows[i].letter.compare(typed, Qt::CaseInsensitive) == 0) {
            m_port.Message(MsgKind::Error,
                           QStringLiteral("Makro mit diesem Buchstaben existiert bereits!"));
            return false;
        }
    }
    m_rows[row].letter = typed;
    return true;
}

void TMakroDlgForm::SetText(int row, const QString& text)
{
    if (row >= 0 && row < m_rows.size())
        m_rows[row].text = text;
}

QStringList TMakroDlgForm::FavoriteNames() const
{
    QStringList names;
    for (const macros::Macro& m : m_rows)
        names << m.text;
    return names;
}
