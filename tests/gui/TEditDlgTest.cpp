#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "masterdata/TEditDlgForm.h"
#include "masterdata/ui/TEditDlg.h"
#include "support/ScriptedUserPort.h"

namespace {

struct EditDlgFixture : ::testing::Test {
    ScriptedUserPort port;
    std::unique_ptr<TEditDlgForm> form;
    std::unique_ptr<TEditDlg> dlg;

    void Open(EditPanel panel)
    {
        EditDlgSetup setup;
        setup.panel = panel;
        setup.settings.currentVat = {19, 7, 0};
        form = std::make_unique<TEditDlgForm>(setup, port);
        dlg = std::make_unique<TEditDlg>(*form);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TypeInto(int id, const QString& text)
    {
        QLineEdit* edit = dlg->Editor(id);
        dlg->FieldWidget(id)->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(edit, text);
    }
    void Tab()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(EditDlgFixture, MedicationTypedAsAPersonWould)
{
    Open(EditPanel::Medication);
    TypeInto(MedicationForm::Artikel, "Baytril");
    TypeInto(MedicationForm::EinkNetto, "1x0.5,5");  // the letter and second comma refused
    EXPECT_EQ(dlg->Editor(MedicationForm::EinkNetto)->text(), "10,55");
    TypeInto(MedicationForm::VerkNetto, "20");
    EXPECT_EQ(dlg->Editor(MedicationForm::VerkMitSt)->text(), "23,80");
    Tab();  // leaving formats the price
    EXPECT_EQ(dlg->Editor(MedicationForm::VerkNetto)->text(), "20,00");
    dlg->AmpvButton()->click();
    EXPECT_EQ(dlg->Editor(MedicationForm::VerkNetto)->text(), "15,61");  // 10,55 x 1.48
    dlg->OkButton()->click();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(form->Medication().Cells().mid(0, 5),
              (QStringList{"Baytril", "10,55", "15,61", "18,58", "1"}));
}

TEST_F(EditDlgFixture, ServiceFactorOutOfRangeKeepsTheFocus)
{
    Open(EditPanel::Service);
    TypeInto(ServiceForm::GOTNetto, "20");
    Tab();
    QLineEdit* factor = dlg->Editor(ServiceForm::Faktor);
    factor->setFocus();
    factor->selectAll();
    QTest::keyClicks(factor, "3,5");
    Tab();
    QApplication::processEvents();
    EXPECT_EQ(port.LastText(), "GOT-Faktor-Bereich (1..3)!");
    EXPECT_EQ(factor->text(), "1,0");
    EXPECT_TRUE(factor->hasFocus());
}

TEST_F(EditDlgFixture, CustomerAnredeAndMailThroughKeys)
{
    Open(EditPanel::Customer);
    auto* anrede = static_cast<QComboBox*>(dlg->FieldWidget(CustomerForm::KundeAnrede));
    anrede->setFocus();
    QApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(anrede->lineEdit()->text(), "Frau");
    TypeInto(CustomerForm::KundeMail, "praxis");
    dlg->OkButton()->click();
    EXPECT_EQ(port.LastText(), "Keine gültige Mail-Adresse !");
    EXPECT_NE(dlg->result(), QDialog::Accepted);
}
