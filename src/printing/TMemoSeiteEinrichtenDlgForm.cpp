#include "printing/TMemoSeiteEinrichtenDlgForm.h"

#include "common/NumberFormat.h"
#include "printing/PageLayout.h"
#include "printing/TPrintGrid2.h"
#include "printing/TPrintStrList.h"

using namespace pagelayout;

namespace {

const QList<Key>& Keys()
{
    static const QList<Key> keys = {
        {QStringLiteral("ObenEdit"), QStringLiteral("2")},
        {QStringLiteral("UntenEdit"), QStringLiteral("3")},
        {QStringLiteral("LinksEdit"), QStringLiteral("2")},
        {QStringLiteral("RechtsEdit"), QStringLiteral("2")},
        {QStringLiteral("SeitenNrChk"), QStringLiteral("TRUE")},
        {QStringLiteral("KopfAbstandEdit"), QStringLiteral("4,5")},
        {QStringLiteral("EinzugEdit"), QStringLiteral("1")},
    };
    return keys;
}

const QString kEditorFont = QStringLiteral("EditorFont");
const QString kTitelFontGross = QStringLiteral("TitelFontGross");
const QString kTitelFontKlein = QStringLiteral("TitelFontKlein");

}  // namespace

QString TMemoSeiteEinrichtenDlgForm::Caption() const
{
    return m_workspace == Workspace::TextEditor
               ? QStringLiteral("Druckbild - Textverarbeitung")
               : QStringLiteral("Druckbild - Karteikarte/Rechnung");
}

QString TMemoSeiteEinrichtenDlgForm::Section() const
{
    return m_workspace == Workspace::TextEditor ? QStringLiteral("EditorOptionen")
                                                : QStringLiteral("RechnDruckOptionen");
}

QString TMemoSeiteEinrichtenDlgForm::GroupCaption() const
{
    return m_workspace == Workspace::TextEditor
               ? QStringLiteral("Kopfausrichtung (in cm) ")
               : QStringLiteral("Kopfausrichtung (in cm) - für Rechnung ");
}

void TMemoSeiteEinrichtenDlgForm::Load(Workspace workspace)
{
    m_workspace = workspace;
    QStringList v;
    if (LoadOrdered(m_store, Section(), Keys(), v)) {
        ObenEdit = v[0];
        UntenEdit = v[1];
        LinksEdit = v[2];
        RechtsEdit = v[3];
        SeitenNrChk = IsTrue(v[4]);
        int einzug = 1;
        EinzugEdit = TryStrToInt(v[6], &einzug) && einzug >= 0 && einzug <= 2 ? einzug : 1;
        KopfAbstandEdit = v[5];
    }
    EditorFont = LoadFont(m_store, Section(), kEditorFont, EditorFont);
    TitelFontGross = LoadFont(m_store, Section(), kTitelFontGross, TitelFontGross);
    TitelFontKlein = LoadFont(m_store, Section(), kTitelFontKlein, TitelFontKlein);
}

void TMemoSeiteEinrichtenDlgForm::Ok()
{
    {
        const LayoutChanges changes(m_store);
        SaveOrdered(m_store, Section(), Keys(),
                    {ObenEdit, UntenEdit, LinksEdit, RechtsEdit, BoolText(SeitenNrChk),
                     KopfAbstandEdit, QString::number(EinzugEdit)});
        SaveFont(m_store, Section(), kEditorFont, EditorFont);
        SaveFont(m_store, Section(), kTitelFontGross, TitelFontGross);
        SaveFont(m_store, Section(), kTitelFontKlein, TitelFontKlein);
    }
    if (OnApplied) {
        OnApplied(m_workspace);
    }
}

void TMemoSeiteEinrichtenDlgForm::Standard()
{
    ObenEdit = QStringLiteral("2");
    UntenEdit = QStringLiteral("3");
    LinksEdit = QStringLiteral("2");
    RechtsEdit = QStringLiteral("2");
    SeitenNrChk = true;
    KopfAbstandEdit = QStringLiteral("4,5");
    EinzugEdit = 1;
}

int TMemoSeiteEinrichtenDlgForm::TopMm() const
{
    return CmToMm(ObenEdit, 20);
}
int TMemoSeiteEinrichtenDlgForm::BottomMm() const
{
    return CmToMm(UntenEdit, 30);
}
int TMemoSeiteEinrichtenDlgForm::LeftMm() const
{
    return CmToMm(LinksEdit, 20);
}
int TMemoSeiteEinrichtenDlgForm::RightMm() const
{
    return CmToMm(RechtsEdit, 20);
}
int TMemoSeiteEinrichtenDlgForm::KopfAbstandMm() const
{
    return CmToMm(KopfAbstandEdit, 45);
}

TPageNumberPos TMemoSeiteEinrichtenDlgForm::PageNumberPos() const
{
    return SeitenNrChk ? TPageNumberPos::pnBotCenter : TPageNumberPos::pnNone;
}

namespace {

// Letters and document tables take the page and the body font alike.
template <class Printer>
void ApplyPage(const TMemoSeiteEinrichtenDlgForm& form, Printer& printer)
{
    printer.TopMargin = form.TopMm();
    printer.BottomMargin = form.BottomMm();
    printer.LeftMargin = form.LeftMm();
    printer.RightMargin = form.RightMm();
    printer.KopfAbstand = form.KopfAbstandMm();
    printer.PageNumberPos = form.PageNumberPos();
    printer.LinesFont = form.EditorFont;
}

}  // namespace

void TMemoSeiteEinrichtenDlgForm::ApplyTo(TPrintStrList& printer) const
{
    ApplyPage(*this, printer);
    printer.TitleFontGr = TitelFontGross;
    printer.TitleFontKl = TitelFontKlein;
}

void TMemoSeiteEinrichtenDlgForm::ApplyToLetter(TPrintStrList& printer) const
{
    ApplyTo(printer);
    printer.PageNumberPos = TPageNumberPos::pnNone;
    printer.RowLines = false;
    printer.KopfPrint = true;
    printer.Mahnung = true;
    printer.FromPage = 1;
    printer.EndPage = 100;
    printer.Orientation = PrinterOrientation::poPortrait;
}

void TMemoSeiteEinrichtenDlgForm::ApplyTo(TPrintGrid2& printer) const
{
    ApplyPage(*this, printer);
    printer.ColHeaderFont = EditorFont;
    printer.ColHeaderFont.size = 8;
    printer.TitleFontGr = TitelFontGross;
    printer.TitleFontKl = TitelFontKlein;
}
