#include "dispensing/AbgPrint.h"

#include "cards/CardCloseRun.h"
#include "common/UserPort.h"
#include "dispensing/AbgWorkspace.h"
#include "dispensing/TAbgDruckDlgForm.h"
#include "dispensing/TAbgPrintGrid2.h"
#include "printing/Letterhead.h"
#include "printing/PrinterList.h"
#include "printing/TSeiteEinrichtenDlgForm.h"

namespace abg {

QStringList DispensingHeaderLines(const Header& header, const QString& vvvoField,
                                  const BusinessData& business, bool withNumber, int vvvoLength)
{
    const bool street = !business.street.isEmpty();
    const bool town = !business.town.isEmpty();
    QString vet = !street && !town ? business.name + QStringLiteral(", ") + business.firm
                                   : business.name + QLatin1Char(' ') + business.firm;
    if (business.name.isEmpty() && business.firm.isEmpty())
        vet.clear();
    if (!street || !town) {
        const qsizetype tel = vet.indexOf(QStringLiteral("Tel."));
        if (tel >= 0)
            vet = vet.left(qMax<qsizetype>(0, tel - 2));
    }
    QString vvvo = vvvoField;
    if (vvvo.isEmpty())
        vvvo = VvvoFromKeeperLine(header.keeperLine, vvvoLength);
    return {withNumber ? header.number : QString(),
            vet,
            street && town ? business.street : QString(),
            street && town ? business.town : QString(),
            business.phone,
            business.fax,
            header.firstName + QLatin1Char(' ') + header.name,
            header.street,
            header.town,
            vvvo};
}

bool ApplyDispensingLayout(LayoutStore* layout, TAbgPrintGrid2& printer, bool* withNumber)
{
    MemoryLayoutStore defaults;
    TSeiteEinrichtenDlgForm form(layout ? *layout : defaults);
    form.Load(TSeiteEinrichtenDlgForm::List::Abgabebeleg);
    const TablePrintSetup setup = form.Setup();
    for (int col = 0; col < kCols; ++col)
        printer.SetColWidth(col, setup.columnWidthsMm.value(col + 1));
    printer.TopMargin = setup.topMm;
    printer.BottomMargin = setup.bottomMm;
    printer.LeftMargin = setup.leftMm;
    printer.RightMargin = setup.rightMm;
    printer.LinesFont = setup.cellFont;
    printer.ColHeaderFont = setup.cellFont;
    printer.ColHeaderFont.bold = true;
    printer.TitleFontGr = setup.headingFont;
    printer.TitleFontKl = setup.columnTitleFont;
    printer.ColLines = setup.colLines;
    printer.RowLines = setup.rowLines;
    const bool everySecond = form.Switches.value(1, false);
    printer.RowLinesCount = everySecond ? 2 : 1;
    printer.KopfPrint = true;
    printer.Orientation = PrinterOrientation::poPortrait;
    printer.FromPage = 1;
    printer.EndPage = 100;
    printer.PrintMgrTitle = QStringLiteral("Talven - Abgabebeleg");
    *withNumber = form.Switches.value(2, true);
    return form.Switches.value(0, true);
}

void PrintDispensingRecord(AbgWorkspace& ws, UserPort& port, const AbgPrinters& out,
                           AbgDruckDlgRunner& dialog)
{
    if (!out.canvas ||
        (out.printers && !CheckPrinterReachable(*out.printers, out.standardPrinter, port)))
        return;

    TAbgDruckDlgForm form;
    TAbgDruckDlgForm::Setup setup;
    setup.standardPrinter = out.standardPrinter;
    setup.mailPrinter = out.mailPrinter;
    setup.number = ws.NumberText();
    setup.year = ws.DateText().mid(6, 4);
    setup.keeperLine = ws.KeeperLine();
    for (const auto& row : ws.GetCells())
        setup.hasMedication = setup.hasMedication || !row[kColName].trimmed().isEmpty();
    setup.keeperHasEmail = !out.keeperEmail.trimmed().isEmpty();
    form.Open(setup);

    if (dialog.Run(form)) {
        const bool mail = form.Ok();
        if (ws.KeeperLine() != QStringLiteral("- - -") && ws.Modified() &&
            port.Message(MsgKind::Confirmation,
                         QStringLiteral("Möchten Sie die Änderungen abspeichern?"),
                         Buttons::YesNoCancel) == Answer::Yes)
            ws.SaveRecord();

        TAbgPrintGrid2 printer(*out.canvas);
        bool withNumber = true;
        const bool withCopy = ApplyDispensingLayout(out.layout, printer, &withNumber);
        const int rows = LastFilledRow(ws.GetCells()) < kShortRows ? kShortRows : kRows;
        const Cells cells = ws.GetCells();
        printer.AttachGrid(&cells, rows);
        const Header header = ws.CurrentHeader();
        const QString vvvoField = ws.Keeper().Text(TKreditorDlgForm::Titel);
        const BusinessData business =
            out.options ? BusinessFromOptions(*out.options, ws.PharmacyMark()) : BusinessData{};
        printer.Fuss = {header.date};
        printer.FussPrint = true;

        bool printed = true;
        if (!mail || withCopy) {
            printer.Kopf = DispensingHeaderLines(header, vvvoField, business, withNumber, 25);
            printer.Kopie = withCopy && !mail;
            printed = printer.Print();
        }
        if (printed && mail && !out.mailPrinter.isEmpty()) {
            if (out.selectPrinter)
                out.selectPrinter(out.mailPrinter);
            printer.Kopf = DispensingHeaderLines(header, vvvoField, business, withNumber, 20);
            printer.Kopie = false;
            const QString name = QStringLiteral("Abgabebeleg ") + header.number + setup.year;
            printed = printer.Print(
                card::MailControlText(out.mailCodes, out.keeperEmail.trimmed(), name));
            if (out.selectPrinter)
                out.selectPrinter(out.standardPrinter);
        }
        if (!printed)
            port.Message(MsgKind::Error,
                         QStringLiteral("Der Abgabebeleg konnte nicht gedruckt werden."));
    }
    // The record is kept whichever way the dialog was left; an empty one is not written.
    ws.SaveRecord();
}

}  // namespace abg
