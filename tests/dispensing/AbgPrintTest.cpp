#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "dispensing/AbgPrint.h"
#include "dispensing/AbgWorkspace.h"
#include "dispensing/TAbgDruckDlgForm.h"
#include "dispensing/TAbgPrintGrid2.h"
#include "printing/LayoutStore.h"
#include "printing/Letterhead.h"
#include "printing/PrinterList.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/RecordingCanvas.h"
#include "support/ScriptedUserPort.h"

using namespace abg;

namespace {

class OnePrinter : public PrinterList {
public:
    QStringList PrinterNames() const override { return {"Laser", kPdfPrinterName}; }
    QString DefaultPrinter() const override { return "Laser"; }
    bool IsReachable(const QString&) const override { return true; }
};

class ScriptedDruckDlg : public AbgDruckDlgRunner {
public:
    bool Run(TAbgDruckDlgForm& form) override
    {
        shown = true;
        if (mail)
            form.ChooseMail();
        return ok;
    }
    bool ok = true;
    bool mail = false;
    bool shown = false;
};

class AbgPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options.values[{"Optionen", "NameEdit"}] = "Dr. Praxis";
        options.values[{"Optionen", "FirmaEdit"}] = "Tierarzt";
        options.values[{"Optionen", "StrasseEdit"}] = "Hofweg 1";
        options.values[{"Optionen", "PLZEdit"}] = "12345 Feld";
        options.values[{"Optionen", "TelEdit"}] = "Tel. 0123";
        options.values[{"Optionen", "FaxEdit"}] = "Fax 0124";
        options.values[{"Optionen", "NameEdit2"}] = "Tierapotheke Nord";
        options.values[{"Optionen", "FirmaEdit2"}] = "Apotheke";
        options.values[{"Optionen", "StrasseEdit2"}] = "Markt 2";
        options.values[{"Optionen", "PLZEdit2"}] = "54321 Stadt";
        options.values[{"Optionen", "TelEdit2"}] = "Tel. 0999";
        options.values[{"Optionen", "FaxEdit2"}] = "Fax 0998";
        ws = std::make_unique<AbgWorkspace>(port, clock, options, dir.path() + "/");
        ws->EnterWorkspace();
        ws->Keeper().SetText(TKreditorDlgForm::Vorname, "Hans");
        ws->Keeper().SetText(TKreditorDlgForm::Name, "Huber");
        ws->Keeper().SetText(TKreditorDlgForm::Strasse, "Weg 2");
        ws->Keeper().SetText(TKreditorDlgForm::PlzOrt, "2000 B");
        out.canvas = &canvas;
        out.printers = &printers;
        out.standardPrinter = "Laser";
        out.options = &options;
        out.selectPrinter = [this](const QString& name) { selected << name; };
    }
    // "Kopf F6" closed with OK.
    void Keeper()
    {
        struct Ok : KeeperRunner {
            bool Run(TKreditorDlgForm&) override { return true; }
        } ok;
        ws->EditKeeper(ok);
    }
    // Titles of the forms printed: heading texts of every page.
    QStringList Headings() const
    {
        QStringList h;
        for (const auto& c : canvas.calls) {
            if (c.op == RecordingCanvas::Op::Text && c.text.startsWith(TAbgPrintGrid2::Heading()))
                h << QString::number(c.page) + ":" + c.text.mid(TAbgPrintGrid2::Heading().size());
        }
        return h;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    MemorySettings options;
    RecordingCanvas canvas;
    OnePrinter printers;
    AbgPrinters out;
    QStringList selected;
    std::unique_ptr<AbgWorkspace> ws;
};

TEST_F(AbgPrintTest, TheCopySharesTheSheetWhenTheFormFitsOnHalfOfIt)
{
    struct Case {
        int lastRow;
        QStringList headings;
    };
    const Case cases[] = {
        {0, {"1: (Nr. 0001)", "1: (Nr. 0001)  -  Kopie"}},
        {31, {"1: (Nr. 0001)", "2: (Nr. 0001)  -  Kopie"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastRow);
        canvas.calls.clear();
        Keeper();
        ws->SetCell(kColName, 0, "Baytril");
        ws->SetCell(0, c.lastRow, "Rind");
        ScriptedDruckDlg dlg;
        port.QueueAnswer(Answer::No);  // the save question before printing
        PrintDispensingRecord(*ws, port, out, dlg);
        EXPECT_EQ(Headings(), c.headings);
        // Every data row is one printed row: the long record reaches row 32.
        EXPECT_EQ(canvas.Find("Rind") != nullptr, true);
        const RecordingCanvas::Call* copy = nullptr;
        for (const auto& call : canvas.calls) {
            if (call.text.endsWith("  -  Kopie"))
                copy = &call;
        }
        ASSERT_NE(copy, nullptr);
        if (c.lastRow == 0) {
            EXPECT_GE(copy->y, canvas.PageHeight() / 2);
        }
        EXPECT_FALSE(ws->Modified());  // saved when the print ended
    }
}

TEST_F(AbgPrintTest, MailPrintsWithOrWithoutTheStandardPrint)
{
    out.mailPrinter = "DOCSENDER";
    out.keeperEmail = "huber@example.org";
    out.mailCodes = {{"MailPrAdrUeberg", "@@A"},
                     {"MailPrEndCode", "##"},
                     {"MailPrPDFNameSave", "@@S"},
                     {"MailPrPDFNameSend", "@@N"}};
    struct Case {
        const char* withCopy;
        int jobs;
        QStringList printers;
    };
    for (const Case& c :
         {Case{"TRUE", 2, {"DOCSENDER", "Laser"}}, Case{"FALSE", 1, {"DOCSENDER", "Laser"}}}) {
        SCOPED_TRACE(c.withCopy);
        MemoryLayoutStore layout;
        layout.Write("AbgSeitenOptionen", "MitKopieChk", c.withCopy);
        out.layout = &layout;
        canvas.calls.clear();
        canvas.jobs = 0;
        selected.clear();
        Keeper();
        ws->SetCell(kColName, 0, "Baytril");
        ScriptedDruckDlg dlg;
        dlg.mail = true;
        PrintDispensingRecord(*ws, port, out, dlg);
        EXPECT_EQ(canvas.jobs, c.jobs);
        EXPECT_EQ(selected, c.printers);
        EXPECT_FALSE(Headings().join("|").contains("Kopie"));
        const QString control =
            "@@Ahuber@example.org##@@SAbgabebeleg 00012026##@@NAbgabebeleg 00012026##";
        bool found = false;
        for (const auto& call : canvas.calls)
            found = found || (call.text.startsWith(control) && call.x == 0 && call.y == 0);
        EXPECT_TRUE(found);
    }
}

TEST_F(AbgPrintTest, HeaderLinesNameTheBusinessOfTheRecordAndTheVvvoNumber)
{
    Header h;
    h.number = "0007";
    h.firstName = "Hans";
    h.name = "Huber";
    h.street = "Weg 2";
    h.town = "2000 B";
    h.keeperLine = "Hans Huber, Weg 2, 2000 B  (VVVO-Nr.: 276091234567890123456789)";
    const QStringList practice =
        DispensingHeaderLines(h, "", BusinessFromOptions(options, false), true, 25);
    EXPECT_EQ(practice, QStringList({"0007", "Dr. Praxis Tierarzt", "Hofweg 1", "12345 Feld",
                                     "Tel. 0123", "Fax 0124", "Hans Huber", "Weg 2", "2000 B",
                                     "276091234567890123456789)"}));
    EXPECT_EQ(DispensingHeaderLines(h, "", BusinessFromOptions(options, false), false, 20)[9],
              "27609123456789012345");
    const QStringList pharmacy =
        DispensingHeaderLines(h, "DE-1", BusinessFromOptions(options, true), false, 25);
    EXPECT_EQ(pharmacy.mid(0, 6), QStringList({"", "Tierapotheke Nord Apotheke", "Markt 2",
                                               "54321 Stadt", "Tel. 0999", "Fax 0998"}));
    EXPECT_EQ(pharmacy[9], "DE-1");
    // Without an address the name line loses a telephone number written into it.
    BusinessData bare;
    bare.name = "Praxis Tel. 0123";
    bare.firm = "Vet";
    EXPECT_EQ(DispensingHeaderLines(h, "", bare, false, 25)[1], "Praxi");
}

TEST_F(AbgPrintTest, CancellingThePrintStillSavesTheRecord)
{
    ws->SetCell(kColName, 0, "Baytril");
    ScriptedDruckDlg dlg;
    dlg.ok = false;
    PrintDispensingRecord(*ws, port, out, dlg);
    EXPECT_TRUE(dlg.shown);
    EXPECT_EQ(canvas.jobs, 0);
    EXPECT_TRUE(QFileInfo::exists(YearFolder(dir.path() + "/", 2026) + "A0001_26.abg"));
}

TEST_F(AbgPrintTest, ThePrintChoiceFollowsKeeperMedicationAndMailAddress)
{
    struct Case {
        const char* keeper;
        bool medication;
        const char* mailPrinter;
        bool email;
        bool standardEnabled, mailEnabled;
        const char* note;
    };
    const Case cases[] = {
        {"Hans Huber", true, "DOCSENDER", true, true, true, ""},
        {"Hans Huber", true, "", true, true, false,
         "( Der Versand als PDF-Datei per E-Mail ist nur mit optionaler Software möglich! )"},
        {"- - -", true, "DOCSENDER", true, false, false,
         "Im Abgabebeleg fehlt noch der Tierhalter!"},
        {"Hans Huber", false, "DOCSENDER", true, false, false, "Noch kein Medikament eingetragen!"},
        {"Hans Huber", true, "DOCSENDER", false, true, false,
         "Der Tierhalter hat keine Mail-Adresse!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        TAbgDruckDlgForm form;
        form.Open({"Laser", c.mailPrinter, "0007", "2026", c.keeper, c.medication, c.email});
        EXPECT_EQ(form.Label(), "Beleg-Nr.: 0007 / 2026");
        EXPECT_EQ(form.StandardEnabled(), c.standardEnabled);
        EXPECT_EQ(form.MailEnabled(), c.mailEnabled);
        EXPECT_EQ(form.Note(), c.note);
        form.ChooseMail();
        EXPECT_EQ(form.Ok(), c.mailEnabled);
        EXPECT_EQ(form.StandardChecked(), c.standardEnabled && !c.mailEnabled);
    }
}

}  // namespace
