#include <gtest/gtest.h>

#include "FormTestUtil.h"
#include "masterdata/TEditDlgForm.h"
#include "support/ScriptedUserPort.h"

namespace {

EditDlgSetup DlgSetup(EditPanel panel, EditMode mode = EditMode::Insert)
{
    EditDlgSetup s;
    s.panel = panel;
    s.mode = mode;
    s.settings.currentVat = {19, 7, 0};
    return s;
}

}  // namespace

TEST(TEditDlgForm, Captions)
{
    ScriptedUserPort port;
    EXPECT_EQ(TEditDlgForm(DlgSetup(EditPanel::Customer), port).Caption(), "Neuer Datensatz");
    EXPECT_EQ(TEditDlgForm(DlgSetup(EditPanel::Service, EditMode::Edit), port).Caption(),
              "Datensatz bearbeiten");
    EXPECT_EQ(TEditDlgForm(DlgSetup(EditPanel::Patient, EditMode::Patient), port).Caption(),
              "Patienten einfügen");
    EditDlgSetup journal = DlgSetup(EditPanel::Booking);
    journal.journalWorkspace = true;
    journal.journalMonth = QDate(2026, 6, 1);
    EXPECT_EQ(TEditDlgForm(journal, port).Caption(), "Einnahme buchen");
    journal.settings.euro = false;
    EXPECT_EQ(TEditDlgForm(journal, port).CurrencyText(), "DM");
}

TEST(TEditDlgForm, OkLeavesTheFocusedFieldFirst)
{
    ScriptedUserPort port;
    TEditDlgForm dlg(DlgSetup(EditPanel::Service), port);
    ServiceForm& f = dlg.Service();
    Type(f, ServiceForm::GOTNetto, "20");
    ASSERT_TRUE(f.Leave(ServiceForm::GOTNetto));
    Retype(f, ServiceForm::Faktor, "2,5");
    EXPECT_TRUE(dlg.Ok(ServiceForm::Faktor, nullptr));
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkNetto), "50,00");
    EXPECT_EQ(f.Text(ServiceForm::LeistungVerkMitSt), "59,50");

    TEditDlgForm med(DlgSetup(EditPanel::Medication), port);
    med.Medication().EditText(MedicationForm::VerkNetto, "1000000");
    EXPECT_FALSE(med.Ok(MedicationForm::VerkNetto, nullptr));  // too large: stays open
    EXPECT_EQ(med.Fields().TakeFocusRequest(), MedicationForm::VerkNetto);
}

TEST(TEditDlgForm, DuplicateCheckThroughOk)
{
    ScriptedUserPort port;
    const QStringList lines{"Aspirin\t\t\t\t1\t\t\t\t\t\t"};
    RecordLinesView table(lines);
    TEditDlgForm dlg(DlgSetup(EditPanel::Medication), port);
    Type(dlg.Medication(), MedicationForm::Artikel, "aspirin");
    EXPECT_FALSE(dlg.Ok(MedicationForm::Artikel, &table));
    EXPECT_EQ(port.LastText(), "Fehler: Datensatz (Medikament) existiert bereits!");
}
