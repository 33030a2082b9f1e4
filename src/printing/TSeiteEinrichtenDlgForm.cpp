#include "printing/TSeiteEinrichtenDlgForm.h"

#include <QHash>

#include "common/NumberFormat.h"
#include "printing/PageLayout.h"
#include "printing/TPrintGrid2.h"
#include "table/TSGrid.h"

using namespace pagelayout;

// How a list's section looks and which grid columns its entries belong to.
struct TSeiteEinrichtenDlgForm::ListLayout {
    QString caption;
    QString section;
    QString heading;
    QStringList margins;  // top, bottom, left, right (cm)
    bool colLines = true;
    bool journal = false;  // "KontostaendeChk"
    QStringList switchKeys;
    QList<bool> switchDefaults;
    QList<int> switchColumns;  // grid column each switch prints
    QString titlePrefix;
    QStringList titles;
    QString widthPrefix;
    QStringList widths;
    QList<int> columns;  // grid column of each title and width
};

namespace {

const QStringList kStandardMargins = {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("2"),
                                      QStringLiteral("2")};

}  // namespace

const TSeiteEinrichtenDlgForm::ListLayout& TSeiteEinrichtenDlgForm::CurrentLayout() const
{
    static const QList<ListLayout> layouts = [] {
        QList<ListLayout> s(6);
        ListLayout& med = s[0];
        med.caption = QStringLiteral("Druckbild - Medikamente");
        med.section = QStringLiteral("TabSeitenOptionen");
        med.heading = QStringLiteral("Talven - Medikamente");
        med.switchKeys = {"EinkNettoChk", "VerkNettoChk", "VerkMitStrChk",
                          "WartezeitChk", "ChargeChk",    "UStChk"};
        med.switchDefaults = {true, true, true, true, false, false};
        med.switchColumns = {2, 3, 4, 6, 7, 5};
        med.titlePrefix = QStringLiteral("Titel");
        med.titles = {"Medikament", "EinkNetto", "VerkNetto", "VerkMitSt",
                      "WZ",         "Charge",    "Bestand"};
        med.widthPrefix = QStringLiteral("Breite");
        med.widths = {"8", "2", "2", "2", "2", "2", "1,5"};
        med.columns = {1, 2, 3, 4, 6, 7, 9};

        ListLayout& srv = s[1];
        srv.caption = QStringLiteral("Druckbild - Leistungen");
        srv.section = QStringLiteral("LeistungSeitenOptionen");
        srv.heading = QStringLiteral("Talven - Leistungen");
        srv.switchKeys = {"LeistungTierChk", "LeistungVerkNettoChk", "LeistungVerkMitStChk",
                          "LeistungUStChk", "LeistungGotChk"};
        srv.switchDefaults = {true, true, true, true, false};
        srv.switchColumns = {2, 5, 6, 7, 8};
        srv.titlePrefix = QStringLiteral("LeistungTitel");
        srv.titles = {"Leistung", "Tierart", "VerkNetto", "VerkMitSt", "USt(%)", "Ziffer"};
        srv.widthPrefix = QStringLiteral("LeistungBreite");
        srv.widths = {"7", "3", "2", "2", "1,5", "2"};
        srv.columns = {1, 2, 5, 6, 7, 8};

        ListLayout& cus = s[2];
        cus.caption = QStringLiteral("Druckbild - Kunden");
        cus.section = QStringLiteral("KundeSeitenOptionen");
        cus.heading = QStringLiteral("Talven - Kundenstamm");
        cus.switchKeys = {"KundeStrasseChk", "KundePLZChk", "KundeNrChk", "KundeTelChk"};
        cus.switchDefaults = {true, true, true, false};
        cus.switchColumns = {3, 4, 5, 6};
        cus.titlePrefix = QStringLiteral("KundeTitel");
        cus.titles = {"Name", "Vorname", "Straße", "PLZ", "K-Nr.", "Tel"};
        cus.widthPrefix = QStringLiteral("KundeBreite");
        cus.widths = {"4", "3", "3", "4", "1,5", "2"};
        cus.columns = {1, 2, 3, 4, 5, 6};

        for (int i : {3, 4}) {
            ListLayout& j = s[i];
            j.caption = i == 3 ? QStringLiteral("Druckbild - Einnahmen")
                               : QStringLiteral("Druckbild - Ausgaben");
            j.section = i == 3 ? QStringLiteral("EinnSeitenOptionen")
                               : QStringLiteral("AusgSeitenOptionen");
            j.heading = i == 3 ? QStringLiteral("Einnahmen") : QStringLiteral("Ausgaben");
            j.colLines = false;
            j.journal = true;
            j.titlePrefix = QStringLiteral("ZahlungTitel");
            j.titles = {"Datum", "Beleg", "Bezeichnung", "Netto", "MwSt", "Brutto", "Z-Art"};
            j.widthPrefix = QStringLiteral("ZahlungBreite");
            j.widths = {"2", "2", "5,5", "2", "1,5", "2", "1"};
            j.columns = {1, 2, 3, 4, 5, 6, 7};
        }

        ListLayout& abg = s[5];
        abg.caption = QStringLiteral("Druckbild - Abgabebeleg");
        abg.section = QStringLiteral("AbgSeitenOptionen");
        abg.margins = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0,5"),
                       QStringLiteral("0,5")};
        abg.switchKeys = {"MitKopieChk", "AbgLinien2Chk", "BelegNrChk"};
        abg.switchDefaults = {true, false, true};
        abg.switchColumns = {0, 0, 0};  // print options, not columns
        abg.widthPrefix = QStringLiteral("AbgBreite");
        abg.widths = {"3,1", "3,1", "2,4", "1,4", "1,6", "1,7", "2,0", "2,0", "1,0"};
        abg.columns = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        for (ListLayout& one : s) {
            if (one.margins.isEmpty()) {
                one.margins = kStandardMargins;
            }
        }
        return s;
    }();
    return layouts[static_cast<int>(m_list)];
}

QString TSeiteEinrichtenDlgForm::Caption() const
{
    return CurrentLayout().caption;
}
QString TSeiteEinrichtenDlgForm::Section() const
{
    return CurrentLayout().section;
}
QStringList TSeiteEinrichtenDlgForm::SwitchKeys() const
{
    return CurrentLayout().switchKeys;
}

QString TSeiteEinrichtenDlgForm::SwitchCaption(const QString& key)
{
    static const QHash<QString, QString> kColumns = {
        {QStringLiteral("EinkNettoChk"), QStringLiteral("Einkaufspreis netto")},
        {QStringLiteral("VerkNettoChk"), QStringLiteral("Verkaufspreis netto")},
        {QStringLiteral("VerkMitStrChk"), QStringLiteral("Verkaufspreis mit MwSt")},
        {QStringLiteral("WartezeitChk"), QStringLiteral("Wartezeit")},
        {QStringLiteral("ChargeChk"), QStringLiteral("Chargennummer")},
        {QStringLiteral("UStChk"), QStringLiteral("USt")},
        {QStringLiteral("LeistungTierChk"), QStringLiteral("Tierart")},
        {QStringLiteral("LeistungVerkNettoChk"), QStringLiteral("Verkaufspreis netto")},
        {QStringLiteral("LeistungVerkMitStChk"), QStringLiteral("Verkaufspreis mit MwSt")},
        {QStringLiteral("LeistungUStChk"), QStringLiteral("USt (%)")},
        {QStringLiteral("LeistungGotChk"), QStringLiteral("GOT-Ziffer")},
        {QStringLiteral("KundeStrasseChk"), QStringLiteral("Straße")},
        {QStringLiteral("KundePLZChk"), QStringLiteral("PLZ / Ort")},
        {QStringLiteral("KundeNrChk"), QStringLiteral("Kunden-Nr.")},
        {QStringLiteral("KundeTelChk"), QStringLiteral("Telefon")},
        {QStringLiteral("BelegNrChk"), QStringLiteral("Beleg-Nr.")},
    };
    if (key == QLatin1String("MitKopieChk"))
        return QStringLiteral("Ausdruck mit &Kopie");
    if (key == QLatin1String("AbgLinien2Chk"))
        return QStringLiteral("Linien nur jede 2. Zeile");
    const QString column = kColumns.value(key);
    return column.isEmpty() ? key : QStringLiteral("Spalte „%1“ drucken").arg(column);
}

namespace {

// The key list of a section in its stored order, with the defaults.
QList<Key> KeysOf(const QStringList& margins, const QString& heading, bool colLines, bool journal,
                  const QStringList& switchKeys, const QList<bool>& switchDefaults,
                  const QString& titlePrefix, const QStringList& titles, const QString& widthPrefix,
                  const QStringList& widths)
{
    QList<Key> keys = {
        {QStringLiteral("ObenEdit"), margins[0]},
        {QStringLiteral("UntenEdit"), margins[1]},
        {QStringLiteral("LinksEdit"), margins[2]},
        {QStringLiteral("RechtsEdit"), margins[3]},
        {QStringLiteral("TitelEdit"), heading},
        {QStringLiteral("ZeilenChk"), BoolText(true)},
        {QStringLiteral("SpaltenChk"), BoolText(colLines)},
        {QStringLiteral("DatumChk"), BoolText(true)},
        {QStringLiteral("SeitenNrChk"), BoolText(true)},
        {QStringLiteral("LineCountEdit"), QStringLiteral("5")},
    };
    if (journal) {
        keys.append({QStringLiteral("KontostaendeChk"), BoolText(false)});
    }
    for (qsizetype i = 0; i < switchKeys.size(); ++i) {
        keys.append({switchKeys[i], BoolText(switchDefaults[i])});
    }
    for (qsizetype i = 0; i < titles.size(); ++i) {
        keys.append({titlePrefix + QString::number(i), titles[i]});
    }
    for (qsizetype i = 0; i < widths.size(); ++i) {
        keys.append({widthPrefix + QString::number(i), widths[i]});
    }
    return keys;
}

}  // namespace

QStringList TSeiteEinrichtenDlgForm::StandardMargins() const
{
    const ListLayout& s = CurrentLayout();
    QStringList margins = s.margins;
    if (m_batch && s.journal) {
        margins[2] = margins[3] = QStringLiteral("1,5");
    }
    return margins;
}

void TSeiteEinrichtenDlgForm::Standard()
{
    const ListLayout& s = CurrentLayout();
    const QStringList margins = StandardMargins();
    ObenEdit = margins[0];
    UntenEdit = margins[1];
    LinksEdit = margins[2];
    RechtsEdit = margins[3];
    TitelEdit = s.heading;
    ZeilenChk = true;
    SpaltenChk = s.colLines;
    DatumChk = true;
    SeitenNrChk = true;
    LineCountEdit = QStringLiteral("5");
    KontostaendeChk = false;
    Switches = s.switchDefaults;
    Titles = s.titles;
    Widths = s.widths;
}

void TSeiteEinrichtenDlgForm::Load(List list, bool batchWorkspace)
{
    const bool other = list != m_list || batchWorkspace != m_batch || !m_loaded;
    m_list = list;
    m_batch = batchWorkspace;
    m_loaded = true;
    const ListLayout& s = CurrentLayout();
    if (other) {
        Standard();
    }
    const QStringList margins = StandardMargins();
    const QList<Key> keys =
        KeysOf(margins, s.heading, s.colLines, s.journal, s.switchKeys, s.switchDefaults,
               s.titlePrefix, s.titles, s.widthPrefix, s.widths);
    QStringList v;
    if (LoadOrdered(m_store, s.section, keys, v)) {
        int at = 0;
        ObenEdit = v[at++];
        UntenEdit = v[at++];
        LinksEdit = v[at++];
        RechtsEdit = v[at++];
        TitelEdit = v[at++];
        ZeilenChk = IsTrue(v[at++]);
        SpaltenChk = IsTrue(v[at++]);
        DatumChk = IsTrue(v[at++]);
        SeitenNrChk = IsTrue(v[at++]);
        LineCountEdit = v[at++];
        if (s.journal) {
            KontostaendeChk = IsTrue(v[at++]);
        }
        for (qsizetype i = 0; i < Switches.size(); ++i) {
            Switches[i] = IsTrue(v[at++]);
        }
        for (qsizetype i = 0; i < Titles.size(); ++i) {
            Titles[i] = v[at++];
        }
        for (qsizetype i = 0; i < Widths.size(); ++i) {
            Widths[i] = v[at++];
        }
    }
    ZellenFont = LoadFont(m_store, s.section, QStringLiteral("ZellenFont"), ZellenFont);
    TitelFont = LoadFont(m_store, s.section, QStringLiteral("TitelFont"), TitelFont);
    UeberschriftFont =
        LoadFont(m_store, s.section, QStringLiteral("UeberschriftFont"), UeberschriftFont);
}

void TSeiteEinrichtenDlgForm::Ok()
{
    const ListLayout& s = CurrentLayout();
    const QList<Key> keys =
        KeysOf(StandardMargins(), s.heading, s.colLines, s.journal, s.switchKeys, s.switchDefaults,
               s.titlePrefix, s.titles, s.widthPrefix, s.widths);
    QStringList v = {ObenEdit,
                     UntenEdit,
                     LinksEdit,
                     RechtsEdit,
                     TitelEdit,
                     BoolText(ZeilenChk),
                     BoolText(SpaltenChk),
                     BoolText(DatumChk),
                     BoolText(SeitenNrChk),
                     LineCountEdit};
    if (s.journal) {
        v.append(BoolText(KontostaendeChk));
    }
    for (bool on : Switches) {
        v.append(BoolText(on));
    }
    v += Titles;
    v += Widths;
    const LayoutChanges changes(m_store);
    SaveOrdered(m_store, s.section, keys, v);
    SaveFont(m_store, s.section, QStringLiteral("ZellenFont"), ZellenFont);
    SaveFont(m_store, s.section, QStringLiteral("TitelFont"), TitelFont);
    SaveFont(m_store, s.section, QStringLiteral("UeberschriftFont"), UeberschriftFont);
}

void TSeiteEinrichtenDlgForm::WidthLeft(int index)
{
    if (m_list == List::Abgabebeleg && index >= 0 && index < Widths.size() &&
        Widths[index].trimmed().isEmpty()) {
        Widths[index] = CurrentLayout().widths[index];
    }
}

QString TSeiteEinrichtenDlgForm::TotalWidthLabel() const
{
    long double sum = 0.4L;
    for (const QString& w : Widths) {
        long double value = 0;
        if (TryStrToFloat(w, &value)) {
            sum += value;
        }
    }
    return QStringLiteral("Breite aller Spalten: ") + FormatFloat(QStringLiteral("0.0"), sum);
}

TablePrintSetup TSeiteEinrichtenDlgForm::Setup() const
{
    const ListLayout& s = CurrentLayout();
    TablePrintSetup out;
    out.topMm = CmToMm(ObenEdit, CmToMm(s.margins[0], 0));
    out.bottomMm = CmToMm(UntenEdit, CmToMm(s.margins[1], 0));
    out.leftMm = CmToMm(LinksEdit, CmToMm(s.margins[2], 0));
    out.rightMm = CmToMm(RechtsEdit, CmToMm(s.margins[3], 0));
    out.heading = TitelEdit;
    out.rowLines = ZeilenChk;
    out.colLines = SpaltenChk;
    int count = 5;
    out.rowLinesCount = TryStrToInt(LineCountEdit, &count) && count > 0 ? count : 5;
    out.datePos = DatumChk ? TPageNumberPos::pnTopRight : TPageNumberPos::pnNone;
    out.pageNumberPos = SeitenNrChk ? TPageNumberPos::pnBotCenter : TPageNumberPos::pnNone;
    for (qsizetype i = 0; i < s.columns.size(); ++i) {
        const int col = s.columns[i];
        out.columnWidthsMm[col] = CmToMm(Widths.value(i), CmToMm(s.widths[i], 0));
        if (i < Titles.size()) {
            out.titles[col] = Titles[i];
        }
    }
    for (qsizetype i = 0; i < s.switchColumns.size(); ++i) {
        const int col = s.switchColumns[i];
        if (col == 0) {
            continue;
        }
        if (!out.columnWidthsMm.contains(col)) {
            // A switched column without a width of its own (the VAT code): one centimetre.
            out.columnWidthsMm[col] = 10;
        }
        if (!Switches.value(i)) {
            out.columnWidthsMm[col] = 0;
        }
    }
    out.cellFont = ZellenFont;
    out.columnTitleFont = TitelFont;
    out.headingFont = UeberschriftFont;
    return out;
}

void ApplyPageSetup(const TablePrintSetup& setup, TPrintGrid2& printer)
{
    printer.LeftMargin = setup.leftMm;
    printer.TopMargin = setup.topMm;
    printer.RightMargin = setup.rightMm;
    printer.BottomMargin = setup.bottomMm;
    printer.RowLines = setup.rowLines;
    printer.ColLines = setup.colLines;
    printer.RowLinesCount = setup.rowLinesCount;
    printer.DatePos = setup.datePos;
    printer.PageNumberPos = setup.pageNumberPos;
    printer.LinesFont = setup.cellFont;
    printer.ColHeaderFont = setup.columnTitleFont;
    printer.TitleFontGr = setup.headingFont;
}

void ApplyTableSetup(const TablePrintSetup& setup, TPrintGrid2& printer)
{
    ApplyPageSetup(setup, printer);
    printer.Title = setup.heading.isEmpty() ? QStringList() : QStringList{setup.heading};
    TSGrid* grid = printer.Grid();
    if (!grid) {
        return;
    }
    int position = 0;
    for (int col = 1; col < grid->ColCount(); ++col) {
        const int width = setup.columnWidthsMm.value(col, 0);
        printer.SetColWidth(col, width);
        if (setup.titles.contains(col)) {
            grid->SetCell(col, 0, setup.titles.value(col));
        }
        if (width > 0) {
            const int alignment = grid->ColumnAlignment(col);
            printer.SetAlignment(++position, alignment == 1   ? TextAlignment::taRightJustify
                                             : alignment == 2 ? TextAlignment::taCenter
                                                              : TextAlignment::taLeftJustify);
        }
    }
}
