#pragma once

#include <QString>
#include <functional>

#include "printing/LayoutStore.h"
#include "printing/PrintCanvas.h"

class TPrintStrList;
class TPrintGrid2;

// The document page layout (letters, reminders, record cards and invoices): fields,
// loading, OK, Cancel, defaults and how the layout feeds the printers.
class TMemoSeiteEinrichtenDlgForm {
public:
    enum class Workspace { TextEditor, RecordCard };

    explicit TMemoSeiteEinrichtenDlgForm(LayoutStore& store) : m_store(store) {}

    // Selects the section for the workspace and fills the fields from it.
    void Load(Workspace workspace);
    // Writes the section (erased first) and the fonts; then tells the owner.
    void Ok();
    // Discards the edits.
    void Cancel() { Load(m_workspace); }
    // The "Standard..." button.
    void Standard();

    QString Caption() const;
    QString Section() const;
    QString GroupCaption() const;
    bool IndentationVisible() const { return m_workspace == Workspace::RecordCard; }

    // Fields as typed (centimetres with a decimal comma).
    QString ObenEdit = QStringLiteral("2");
    QString UntenEdit = QStringLiteral("3");
    QString LinksEdit = QStringLiteral("2");
    QString RechtsEdit = QStringLiteral("2");
    bool SeitenNrChk = true;
    QString KopfAbstandEdit = QStringLiteral("4,5");
    int EinzugEdit = 1;  // 0 "1 fach", 1 "2 fach", 2 "3 fach"
    PrintFont EditorFont{QStringLiteral("Arial"), 9};
    PrintFont TitelFontGross{QStringLiteral("Arial"), 12, true};
    PrintFont TitelFontKlein{QStringLiteral("Arial"), 8};

    static constexpr const char* kSample = "AaBbYyZz";

    // Printer values: millimetres, page number position.
    int TopMm() const;
    int BottomMm() const;
    int LeftMm() const;
    int RightMm() const;
    int KopfAbstandMm() const;
    TPageNumberPos PageNumberPos() const;

    // Margins, header distance, page numbers and the three fonts onto the letter printer.
    void ApplyTo(TPrintStrList& printer) const;
    // A single letter on this layout (reminders, appointment letters): the layout with the
    // letterhead, without page numbers and rules, portrait, pages 1 to 100.
    void ApplyToLetter(TPrintStrList& printer) const;
    // The same onto the table printer for record cards and invoices; the column titles
    // use the body font at 8 points.
    void ApplyTo(TPrintGrid2& printer) const;

    // Called after OK: the editor refreshes its page metrics, the record card its
    // description width.
    std::function<void(Workspace)> OnApplied;

private:
    LayoutStore& m_store;
    Workspace m_workspace = Workspace::TextEditor;
};
