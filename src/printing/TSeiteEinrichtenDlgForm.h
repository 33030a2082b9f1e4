#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include "printing/LayoutStore.h"
#include "printing/PrintCanvas.h"

// What a table print takes from its page layout.
struct TablePrintSetup {
    int leftMm = 20, topMm = 20, rightMm = 20, bottomMm = 30;
    QString heading;  // the single title line
    bool rowLines = true;
    bool colLines = true;
    int rowLinesCount = 5;
    TPageNumberPos datePos = TPageNumberPos::pnTopRight;
    TPageNumberPos pageNumberPos = TPageNumberPos::pnBotCenter;
    QMap<int, int> columnWidthsMm;  // grid column -> width, 0 = not printed
    QMap<int, QString> titles;      // grid column -> title for the grid's title row
    PrintFont cellFont{QStringLiteral("Arial"), 9};
    PrintFont columnTitleFont{QStringLiteral("Arial"), 10, true};
    PrintFont headingFont{QStringLiteral("Arial"), 12, true};
};

class TPrintGrid2;

// Puts a table layout onto the table printer and its attached grid: margins, heading,
// rules, date and page number, fonts, column widths (0 for every other column), the
// titles into the grid's title row and the alignments of the printed positions.
void ApplyTableSetup(const TablePrintSetup& setup, TPrintGrid2& printer);
// Only the page of a table layout: margins, rules, date and page number, fonts; for a
// report whose columns the program sets itself.
void ApplyPageSetup(const TablePrintSetup& setup, TPrintGrid2& printer);

// The table page layouts (medications, services, customers, income and expense journals,
// dispensing record), one section each: fields, loading, OK, Cancel, defaults and the
// values for the table printer.
class TSeiteEinrichtenDlgForm {
public:
    enum class List { Medikamente, Leistungen, Kunden, Einnahmen, Ausgaben, Abgabebeleg };

    explicit TSeiteEinrichtenDlgForm(LayoutStore& store) : m_store(store) {}

    // batchWorkspace: the journals printed from the batch print workspace default to
    // narrower side margins.
    void Load(List list, bool batchWorkspace = false);
    void Ok();
    void Cancel() { Load(m_list, m_batch); }
    void Standard();

    QString Caption() const;
    QString Section() const;
    List CurrentList() const { return m_list; }

    QString ObenEdit, UntenEdit, LinksEdit, RechtsEdit;
    QString TitelEdit;
    bool ZeilenChk = true;
    bool SpaltenChk = true;
    bool DatumChk = true;
    bool SeitenNrChk = true;
    QString LineCountEdit = QStringLiteral("5");
    bool KontostaendeChk = false;  // journals only
    // The list's own switches, titles and widths (cm), in the order of their keys.
    QStringList SwitchKeys() const;
    // What the check box of a switch key says ("KundeStrasseChk": the street column).
    static QString SwitchCaption(const QString& key);
    QList<bool> Switches;
    QStringList Titles;
    QStringList Widths;
    PrintFont ZellenFont{QStringLiteral("Arial"), 9};
    PrintFont TitelFont{QStringLiteral("Arial"), 10, true};
    PrintFont UeberschriftFont{QStringLiteral("Arial"), 12, true};

    // Dispensing record: leaving an empty width field puts its default back.
    void WidthLeft(int index);
    // Dispensing record: "Breite aller Spalten: " with the sum of the widths + 0,4.
    QString TotalWidthLabel() const;

    TablePrintSetup Setup() const;

private:
    struct ListLayout;
    const ListLayout& CurrentLayout() const;
    QStringList StandardMargins() const;

    LayoutStore& m_store;
    List m_list = List::Medikamente;
    bool m_batch = false;
    bool m_loaded = false;
};
