#include "texts/TKreditorDlgForm.h"

#include "common/Clock.h"
#include "common/DateUtil.h"
#include "common/UserPort.h"
#include "masterdata/MasterSearch.h"
#include "table/RecordLine.h"

using namespace recordline;

TKreditorDlgForm::TKreditorDlgForm(Mode mode, UserPort& port, const Clock& clock)
    : FormBase(kCount), m_mode(mode), m_port(port), m_clock(clock)
{
    m_fields[Name].maxLength = 40;
    m_fields[Strasse].maxLength = 30;
    m_fields[Datum].maxLength = 10;
    Reset();
    Begin();
}

QString TKreditorDlgForm::Caption() const
{
    return m_mode == Mode::Letterhead ? QStringLiteral("(Brief-)Kopf")
                                      : QStringLiteral("Tierhalter");
}

QString TKreditorDlgForm::TitleGroupCaption() const
{
    return m_mode == Mode::Letterhead ? QStringLiteral("&Titel/ Überschrift")
                                      : QStringLiteral("VVVO-Nr.");
}

void TKreditorDlgForm::SetPharmacyAvailable(bool available)
{
    m_pharmacyAvailable = available;
    if (!available)
        m_pharmacy = false;
}

void TKreditorDlgForm::SetPharmacy(bool on)
{
    on = on && m_pharmacyAvailable;
    m_changed = m_changed || on != m_pharmacy;
    m_pharmacy = on;
}

void TKreditorDlgForm::SetBank(bool on)
{
    m_changed = m_changed || on != m_bank;
    m_bank = on;
}

void TKreditorDlgForm::SetPhone(bool on)
{
    m_changed = m_changed || on != m_phone;
    m_phone = on;
}

void TKreditorDlgForm::SetFirm(bool on)
{
    m_changed = m_changed || on != m_firm;
    m_firm = on;
}

void TKreditorDlgForm::SetHead(const LetterHead& h)
{
    m_filling = true;
    m_fields[Anrede].SetText(h.salutation);
    m_fields[Vorname].SetText(h.firstName);
    m_fields[Name].SetText(h.name.left(40));
    m_fields[Strasse].SetText(h.street.left(30));
    m_fields[PlzOrt].SetText(h.town);
    m_fields[Datum].SetText(h.date);
    m_fields[Titel].SetText(h.title);
    m_pharmacy = h.pharmacy && m_pharmacyAvailable;
    m_bank = h.bank;
    m_phone = h.phone;
    m_firm = h.firm;
    m_filling = false;
}

LetterHead TKreditorDlgForm::Head() const
{
    LetterHead h;
    h.pharmacy = m_pharmacy;
    h.salutation = Text(Anrede);
    h.firstName = Text(Vorname);
    h.name = Text(Name);
    h.street = Text(Strasse);
    h.town = Text(PlzOrt);
    h.date = Text(Datum);
    h.title = Text(Titel);
    h.bank = m_bank;
    h.phone = m_phone;
    h.firm = m_firm;
    return h;
}

void TKreditorDlgForm::Reset()
{
    SetHead(LetterHead());
    m_fields[KundenSuche].SetText(QString());
}

void TKreditorDlgForm::PrefillFromCustomer(const QString& line)
{
    const auto cell = [&line](int col) { return Cell(line, col); };
    m_filling = true;
    m_fields[Anrede].SetText(cell(kCustSalutation));
    m_fields[Name].SetText(cell(kCustName).left(40));
    m_fields[Vorname].SetText(cell(kCustFirstName));
    m_fields[Strasse].SetText(cell(kCustStreet).left(30));
    m_fields[PlzOrt].SetText(cell(kCustTown));
    m_pharmacy = m_pharmacyAvailable && cell(kCustRemark).startsWith(QLatin1String("(A)"));
    m_filling = false;
}

void TKreditorDlgForm::InsertToday()
{
    m_fields[Datum].SetText(dates::Format(m_clock.Today()));
    TextChanged(Datum);
}

QChar TKreditorDlgForm::FilterKey(int id, QChar key)
{
    if (id != Datum || key == kKeyBackspace)
        return key;
    if (key == QLatin1Char(','))
        return QLatin1Char('.');
    return key.isDigit() || key == QLatin1Char('.') ? key : QChar();
}

void TKreditorDlgForm::TextChanged(int id)
{
    if (m_filling)
        return;
    if (id != KundenSuche) {
        m_changed = true;
        return;
    }
    if (!m_customers || m_customers->isEmpty() || Text(KundenSuche).trimmed().isEmpty())
        return;
    const int found = mastersearch::FindByName(*m_customers, Text(KundenSuche));
    if (found >= 0 && found < m_customers->size()) {
        PrefillFromCustomer(m_customers->at(found));
        m_changed = true;
    }
}

bool TKreditorDlgForm::Leave(int id, bool)
{
    if (id != Datum || Text(Datum).trimmed().isEmpty())
        return true;
    const QString date = dates::Normalize(Text(Datum));
    if (date.isEmpty()) {
        m_port.Message(MsgKind::Error, QStringLiteral("Fehler: Datum ungültig!"));
        RequestFocus(Datum);
        return false;
    }
    if (date != Text(Datum)) {
        m_fields[Datum].SetText(date);
        m_changed = true;
    }
    return true;
}

void TKreditorDlgForm::Begin()
{
    m_snapshot = {Head(), Text(KundenSuche)};
    m_changed = false;
}

bool TKreditorDlgForm::Ok(int focusedField)
{
    return focusedField < 0 || Leave(focusedField, true);
}

void TKreditorDlgForm::Cancel()
{
    SetHead(m_snapshot.head);
    m_fields[KundenSuche].SetText(m_snapshot.search);
    m_changed = false;
}

namespace {

const QString kVvvoOpen = QStringLiteral("  (VVVO-Nr.: ");

}  // namespace

QString TKreditorDlgForm::KeeperLine() const
{
    if ((Text(Vorname) + Text(Name) + Text(Strasse) + Text(PlzOrt)).trimmed().isEmpty())
        return QStringLiteral("- - -");
    QString line = m_pharmacy ? QStringLiteral("(A) ") : QString();
    line += Text(Vorname) + QLatin1Char(' ') + Text(Name) + QStringLiteral(", ") + Text(Strasse) +
            QStringLiteral(", ") + Text(PlzOrt);
    if (!Text(Titel).isEmpty())
        line += kVvvoOpen + Text(Titel) + QLatin1Char(')');
    return line;
}

void TKreditorDlgForm::LoadKeeper(const QString& keeperLine, const QString& firstName,
                                  const QString& name, const QString& street, const QString& town)
{
    LetterHead h;
    h.pharmacy = keeperLine.startsWith(QLatin1String("(A)"));
    h.salutation.clear();
    h.firstName = firstName;
    h.name = name;
    h.street = street;
    h.town = town;
    const qsizetype at = keeperLine.indexOf(kVvvoOpen);
    if (at >= 0) {
        h.title = keeperLine.mid(at + kVvvoOpen.size());
        if (h.title.endsWith(QLatin1Char(')')))
            h.title.chop(1);
    }
    SetHead(h);
    m_fields[KundenSuche].SetText(QString());
    Begin();
}

void TKreditorDlgForm::ClearKeeper()
{
    LoadKeeper(QString(), QString(), QString(), QString(), QString());
}
