#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "cards/CardWorkspace.h"
#include "cards/ui/CardPrintCommand.h"
#include "cards/ui/TBezDlg.h"
#include "cards/ui/TKarteiRechnDruckDlg.h"
#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "printing/PrinterList.h"
#include "printing/qt/QtPrintCanvas.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/PdfTools.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/RecordLine.h"
#include "table/TSGrid.h"

using namespace card;

namespace {

// Clicks the button of the modal dialog that opens next, as a person would.
template <typename Dialog>
void ClickWhenShown(const std::function<QPushButton*(Dialog&)>& button)
{
    QTimer::singleShot(0, [button] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        button(*dialog)->click();
    });
}

// The records of a register after its change lines are merged, by card key.
QStringList RegisterKeys(UserPort& port, const QString& path)
{
    TSGrid grid(port);
    grid.SetColCount(10);
    grid.LoadRegister(path);
    QStringList keys;
    for (int i = 0; i < grid.RecordCount(); ++i)
        keys << recordline::Cell(grid.RecordLine(i), 1);
    return keys;
}

QString RegisterCell(UserPort& port, const QString& path, const QString& key, int col)
{
    TSGrid grid(port);
    grid.SetColCount(10);
    grid.LoadRegister(path);
    for (int i = 0; i < grid.RecordCount(); ++i) {
        if (recordline::Cell(grid.RecordLine(i), 1) == key)
            return recordline::Cell(grid.RecordLine(i), col);
    }
    return {};
}

// A customer with a 19 % and a 7 % line is invoiced to the PDF printer through the print
// dialog, then pays the full amount in cash through the payment dialog.
TEST(CardCloseEndToEnd, InvoiceToPdfThenCashPayment)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath(QStringLiteral("DATEN")));
    const QString data = QDir(program.path()).filePath(QStringLiteral("DATEN"));
    const auto at = [&data](const QString& name) { return QDir(data).filePath(name); };
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0, 5))};
    auto env = std::make_shared<TableEnvironment>();
    TSGrid customers{port, env};
    TSGrid cards{port, env};
    MemorySettings options;
    options.Write(QStringLiteral("Optionen"), QStringLiteral("NameEdit"),
                  QStringLiteral("Tierarztpraxis Dr. Berger"));
    options.Write(QStringLiteral("Optionen"), QStringLiteral("StrasseEdit"),
                  QStringLiteral("Hauptstr. 1"));
    options.Write(QStringLiteral("Optionen"), QStringLiteral("PLZEdit"),
                  QStringLiteral("12345 Musterstadt"));
    options.Write(QStringLiteral("Optionen"), QStringLiteral("ZzRechEdit"), QStringLiteral("14"));
    options.Write(QStringLiteral("Kontostand"), QStringLiteral("Kasse"), QStringLiteral("100,00"));

    testfiles::WriteLines(at(QStringLiteral("KUNDE.DBF")),
                          {QString::fromUtf8("Mustermann\tErika\tGartenweg 5\t54321 Beispielort\t"
                                             "0012\t\tFrau\t\t005\t\t")});
    customers.SetColCount(11);
    customers.LoadTable(at(QStringLiteral("KUNDE.DBF")));
    testfiles::WriteLines(
        at(FileName(QStringLiteral("0012"), 5)),
        QStringList{QString::fromUtf8("01.03.2024\tImpfung Hund\t1\t100,00000\t\t\t\t\t"),
                    QStringLiteral("04.03.2024\tFutter Senior\t2\t50,00000\t\t\t\t\t"),
                    QStringLiteral("---KOPF---")} +
            NewCardHeader(QStringLiteral("0012"), 5, QStringLiteral("Mustermann Erika"),
                          QStringLiteral("Euro")));
    CardWorkspace ws(port, clock, customers, at(QStringLiteral("KUNDE.DBF")), cards, data, options);
    ws.SetSettings(CardSettings{});
    ASSERT_TRUE(ws.LoadCurrentCard(0));

    // "Drucken": the dialog opens on the invoice with today and the last treatment; OK.
    ClickWhenShown<TKarteiRechnDruckDlg>([](TKarteiRechnDruckDlg& dialog) {
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text() == QStringLiteral("OK"))
                return b;
        }
        return static_cast<QPushButton*>(nullptr);
    });
    CardPrintContext context;
    context.port = &port;
    context.clock = &clock;
    QtPrintCanvas canvas(program.path(), clock);
    canvas.SelectPrinter(PrinterList::kPdfPrinterName);
    context.canvas = &canvas;
    RunCardPrintCommand(nullptr, ws, context);

    ASSERT_EQ(port.messages.size(), 1);  // the closing question, answered OK
    const QStringList pdfs =
        QDir(QDir(program.path()).filePath(QStringLiteral("PDF"))).entryList({"*.pdf"});
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_TRUE(pdfs[0].startsWith(QStringLiteral("Talven - Rechnung 0012005_")));
    const QString pdf = QDir(program.path()).filePath(QStringLiteral("PDF/") + pdfs[0]);
    const QString text = pdftools::Text(pdf);
    for (const char* needle :
         {"Tierarztpraxis Dr. Berger", "Erika Mustermann", "RECHNUNG", "Rechnungs-Nr: 0012/005",
          "Impfung Hund", "Futter Senior", "USt 19,0%", "19,00 EUR", "USt 7,0%", "3,50 EUR",
          "Nettobetrag", "150,00 EUR", "22,50 EUR", "Endbetrag", "172,50 EUR",
          "Zahlbar bis zum 29.03.2024 ohne Abzug."}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(needle))) << needle << "\n"
                                                              << text.toStdString();
    }
    pdftools::Keep(pdf, QStringLiteral("invoice_close"));

    const QString invoices = at(QStringLiteral("ST_RECHN.DBF"));
    const QString dunning = at(QStringLiteral("ST_MAHN.DBF"));
    EXPECT_FALSE(RegisterKeys(port, invoices).contains(QStringLiteral("0012/005")));
    EXPECT_EQ(RegisterCell(port, dunning, QStringLiteral("0012/005"), 6), QStringLiteral("172,50"));
    EXPECT_EQ(ws.CardNumber(), 6);
    EXPECT_FALSE(ws.Form().State().IsInvoiced());
    EXPECT_TRUE(QFileInfo::exists(at(FileName(QStringLiteral("0012"), 6))));

    // "Zahlung" on the invoice: the dialog proposes the open amount in cash; OK, then save.
    ASSERT_TRUE(ws.LoadCardByKey(QStringLiteral("0012/005")));
    ClickWhenShown<TBezDlg>([](TBezDlg& dialog) { return dialog.OkButton(); });
    QtPaymentDialogRunner payment(port, nullptr);
    ASSERT_TRUE(ws.EnterPayment(payment));
    ASSERT_TRUE(ws.SaveRecordCard());

    EXPECT_FALSE(RegisterKeys(port, dunning).contains(QStringLiteral("0012/005")));
    QStringList journal;
    cp1252::ReadLines(at(QStringLiteral("Z32024.zaE")), journal);
    ASSERT_EQ(journal.size(), 2);
    EXPECT_TRUE(journal[0].endsWith(QStringLiteral("\t50,00\t7,0\t53,50\tB\t")))
        << journal[0].toStdString();
    EXPECT_TRUE(journal[1].endsWith(QStringLiteral("\t100,00\t19,0\t119,00\tB\t")))
        << journal[1].toStdString();
    long double cash = 0;
    ASSERT_TRUE(
        TryStrToFloat(options.Get(QStringLiteral("Kontostand"), QStringLiteral("Kasse")), &cash));
    EXPECT_NEAR(double(cash), 272.50, 1e-9);
}

}  // namespace
