#include "masterdata/MedicationForm.h"

#include <cstring>

#include "common/UserPort.h"

MedicationForm::MedicationForm(EditMode mode, const PriceSettings& settings)
    : FormBase(kCount), m_mode(mode), m_settings(settings)
{
    const int lengths[kCount] = {70, 9, 9, 9, 1, 10, 15, 100};
    for (int i = 0; i < kCount; ++i)
        m_fields[i].maxLength = lengths[i];
    m_fields[VerkMitSt].readOnly = true;
    m_fields[Ust].SetText(QStringLiteral("1"));
}

void MedicationForm::Load(const QStringList& cells)
{
    for (int i = 0; i < kCount && i < cells.size(); ++i)
        m_fields[i].SetText(cells.at(i));
    m_openedName = m_fields[Artikel].text;
    m_human = m_fields[Bem].text.contains(QLatin1String("(H)")) ||
              m_fields[Artikel].text.contains(QStringLiteral("Humanpräparat"));
}

QChar MedicationForm::FilterKey(int id, QChar key)
{
    if (id == EinkNetto || id == VerkNetto)
        return FilterPriceKey(m_fields[id], key);
    return key;
}

void MedicationForm::TextChanged(int id)
{
    if (id == VerkNetto || id == Ust)
        m_fields[VerkMitSt].SetText(
            prices::GrossFromNet(m_fields[VerkNetto].text, m_fields[Ust].text, m_settings));
}

bool MedicationForm::Leave(int id, bool)
{
    if (id != EinkNetto && id != VerkNetto)
        return true;
    if (!LeavePriceField(m_fields[id])) {
        RequestFocus(id);
        return false;
    }
    TextChanged(id);
    return true;
}

void MedicationForm::AmpvClick()
{
    const prices::AmpvResult r = prices::Ampv(m_fields[EinkNetto].text, m_settings.euro, m_human);
    m_fields[EinkNetto].SetText(r.purchaseNet);
    SetText(VerkNetto, r.saleNet);
}

void MedicationForm::SetHumanpraep(bool checked)
{
    if (checked == m_human)
        return;
    m_human = checked;
    QString bem = m_fields[Bem].text;
    QString name = m_fields[Artikel].text;
    const QString human = QStringLiteral("Humanpräparat");
    if (checked) {
        if (!bem.contains(QLatin1String("(H)"))) {
            if (bem.startsWith(QLatin1String("(B)")))
                bem.insert(3, QLatin1String(" (H) "));
            else
                bem.prepend(QLatin1String("(H) "));
        }
        if (!name.contains(human))
            name += QStringLiteral(" -Humanpräparat-");
    } else {
        for (const char* mark : {" (H) ", "(H) ", "(H)"}) {
            const qsizetype at = bem.indexOf(QLatin1String(mark));
            if (at >= 0) {
                bem.remove(at, qsizetype(strlen(mark)));
                break;
            }
        }
        for (const QString& mark :
             {QStringLiteral(" - Humanpräparat -"), QStringLiteral("- Humanpräparat -"),
              QStringLiteral(" -Humanpräparat-"), QStringLiteral("-Humanpräparat-"), human}) {
            const qsizetype at = name.indexOf(mark);
            if (at >= 0) {
                name.remove(at, mark.size());
                break;
            }
        }
    }
    m_fields[Bem].SetText(bem.left(100));
    m_fields[Artikel].SetText(name.left(70));
    RequestFocus(Artikel, false);
}

QString MedicationForm::UstRateLabel() const
{
    return prices::VatRateLabel(m_fields[Ust].text, m_settings);
}

bool MedicationForm::CheckOk(UserPort& port, const MasterTableView& table)
{
    const QString name = m_fields[Artikel].text;
    const bool check =
        (m_mode == EditMode::Insert && table.RecordCount() > 0) ||
        (m_mode == EditMode::Edit && name.compare(m_openedName, Qt::CaseInsensitive) != 0);
    if (check && table.RecordCount() > 0) {
        const int pos = table.FindSorted(name);
        if (table.Cell(pos, 1).compare(name, Qt::CaseInsensitive) == 0) {
            port.Message(MsgKind::Error,
                         QStringLiteral("Fehler: Datensatz (Medikament) existiert bereits!"));
            RequestFocus(Artikel);
            return false;
        }
    }
    return true;
}

QStringList MedicationForm::Cells() const
{
    QStringList cells;
    for (int i = 0; i < kCount; ++i)
        cells << m_fields[i].text;
    return cells;
}
