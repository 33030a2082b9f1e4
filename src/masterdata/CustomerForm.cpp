#include "masterdata/CustomerForm.h"

#include "common/UserPort.h"
#include "masterdata/ClipboardPort.h"
#include "masterdata/PharmacyMarker.h"
#include "masterdata/PostcodeList.h"

namespace {

const QString kClipboardMarker = QStringLiteral("[Talven-Kunde]");
// Clipboard keys in field order; the customer number is not copied, a pasted customer
// gets a number of its own.
const char* const kClipboardKeys[CustomerForm::kCount] = {
    "Name", "Vorname", "Strasse", "PLZ/Ort", "Telefon", "Anrede", "Bemerkung", "e-mail"};

}  // namespace

const QStringList& CustomerForm::AnredeItems()
{
    static const QStringList items{QStringLiteral("Frau / Herrn / Firma"),
                                   QStringLiteral("Frau"),
                                   QStringLiteral("Herrn"),
                                   QStringLiteral("Firma"),
                                   QStringLiteral("Fräulein"),
                                   QStringLiteral("Frau und Herrn"),
                                   QStringLiteral("Familie")};
    return items;
}

// The customer's fields follow the same rules whether the record is new or edited.
CustomerForm::CustomerForm(EditMode /*mode*/, UserPort& port) : FormBase(kCount), m_port(port)
{
    const int lengths[kCount] = {40, 30, 30, 35, 32, 30, 60, 86};
    for (int i = 0; i < kCount; ++i)
        m_fields[i].maxLength = lengths[i];
    m_fields[KundeAnrede].SetText(AnredeItems().first());
}

void CustomerForm::Load(const QStringList& cells)
{
    const auto cell = [&](int col) { return col <= cells.size() ? cells.at(col - 1) : QString(); };
    const int cols[kCount] = {1, 2, 3, 4, 6, 7, 8, 10};
    for (int i = 0; i < kCount; ++i)
        SetText(i, cell(cols[i]));
    m_numberText = cell(5);
}

bool CustomerForm::KeyPress(int id, QChar key)
{
    if (id != KundePLZ || !m_postcodes)
        return FormBase::KeyPress(id, key);
    if (key == kKeyEnter)
        return false;
    m_postcodes->CleanUp();
    if (key == kKeyBackspace || key == kKeyLineFeed)
        return FormBase::KeyPress(id, key);
    if (!FormBase::KeyPress(id, key))
        return false;
    FormField& field = m_fields[KundePLZ];
    const QString typed = field.text;
    const QString completion = m_postcodes->Complete(typed);
    if (!completion.isEmpty()) {
        field.SetText(completion.left(field.maxLength));
        field.Select(int(typed.size()), int(field.text.size() - typed.size()));
    }
    return true;
}

QStringList CustomerForm::PostcodeEntries() const
{
    return m_postcodes ? m_postcodes->Entries() : QStringList();
}

void CustomerForm::PostcodeDropDown()
{
    if (m_postcodes)
        m_postcodes->CleanUp();
}

void CustomerForm::PostcodeRemove(const QString& selectedEntry)
{
    if (m_postcodes)
        m_postcodes->Remove(selectedEntry.isEmpty() ? m_fields[KundePLZ].text : selectedEntry);
}

void CustomerForm::TextChanged(int id)
{
    if (id == KundeBem && pharmacy::ContainsMarker(m_fields[KundeBem].text))
        m_pharmacy = true;
}

bool CustomerForm::Leave(int id, bool)
{
    if (id == KundeBem) {
        QString bem = m_fields[KundeBem].text;
        if (pharmacy::StripLeadingMarkers(bem))
            m_pharmacy = true;
        m_fields[KundeBem].SetText(bem.left(60));
    } else if (id == KundeMail) {
        const QString mail = m_fields[KundeMail].text;
        if (!mail.isEmpty() && !mail.contains(QLatin1Char('@')) &&
            !mail.contains(QLatin1Char('.'))) {
            m_port.Message(MsgKind::Error, QStringLiteral("Keine gültige Mail-Adresse !"));
            RequestFocus(KundeMail);
            return false;
        }
    }
    return true;
}

void CustomerForm::StepAnrede(bool up)
{
    const QStringList& items = AnredeItems();
    const int at = int(items.indexOf(m_fields[KundeAnrede].text));
    if (at < 0)
        return;
    const int next = up ? at - 1 : at + 1;
    if (next < 0 || next >= items.size())
        return;
    m_fields[KundeAnrede].SetText(items.at(next));
}

void CustomerForm::Copy(ClipboardPort& clipboard) const
{
    QStringList lines{kClipboardMarker};
    for (int i = 0; i < kCount; ++i)
        lines << QLatin1String(kClipboardKeys[i]) + QLatin1Char('=') + m_fields[i].text;
    clipboard.SetText(lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n"));
}

bool CustomerForm::Paste(const ClipboardPort& clipboard)
{
    QString text = clipboard.Text();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.first().trimmed() != kClipboardMarker)
        return false;
    QStringList values(kCount);
    bool any = false;
    for (const QString& line : lines.mid(1)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        for (int i = 0; i < kCount; ++i) {
            if (key == QLatin1String(kClipboardKeys[i])) {
                values[i] = line.mid(eq + 1);
                any = true;
            }
        }
    }
    if (!any)
        return false;
    for (int i = 0; i < kCount; ++i)
        SetText(i, values.at(i));
    if (m_fields[KundeAnrede].text.isEmpty())
        m_fields[KundeAnrede].SetText(AnredeItems().first());
    return true;
}

bool CustomerForm::CheckOk()
{
    QString bem = m_fields[KundeBem].text;
    if (m_pharmacy)
        bem = pharmacy::WithMarker(bem);
    m_fields[KundeBem].SetText(bem);
    if (m_postcodes)
        m_postcodes->Learn(m_fields[KundePLZ].text);
    return true;
}

QStringList CustomerForm::Cells(const QString& number, const QString& cardCount) const
{
    return {m_fields[KundeName].text,
            m_fields[KundeVorname].text,
            m_fields[KundeStrasse].text,
            m_fields[KundePLZ].text,
            number,
            m_fields[KundeTel].text,
            m_fields[KundeAnrede].text,
            m_fields[KundeBem].text,
            cardCount,
            m_fields[KundeMail].text};
}
