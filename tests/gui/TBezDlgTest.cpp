#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "cards/TBezDlgForm.h"
#include "cards/ui/TBezDlg.h"
#include "support/FixedClock.h"
#include "support/MemorySettings.h"
#include "support/ScriptedUserPort.h"

using namespace card;

namespace {

struct TBezDlgFixture : ::testing::Test {
    FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 0))};
    MemorySettings options;
    ScriptedUserPort port;
    QDate lastDate;
    CardState state;
    std::unique_ptr<TBezDlgForm> form;
    std::unique_ptr<TBezDlg> dlg;

    void Open(const QString& open)
    {
        ASSERT_TRUE(ApplyHeader(NewCardHeader("0012", 7, "Meier", "Euro"), state));
        PadSummary(state.summary);
        state.invoiceGross = "119,00";
        state.invoiceDate = "01.03.2024";
        state.reminder1 = true;
        state.summary[kSumFee1] = "5,00000";
        state.summary[kSumDate1] = "10.03.2024";
        state.summary << "20,00 Euro   am 05.03.2024,  bar";
        state.openAmountExact = open;
        form = std::make_unique<TBezDlgForm>(state, clock, options, &lastDate);
        dlg = std::make_unique<TBezDlg>(*form, port);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    // Set TALVEN_SCREENSHOTS to a folder to look at the dialog.
    void Shot(const QString& name)
    {
        const QString folder = qEnvironmentVariable("TALVEN_SCREENSHOTS");
        QApplication::processEvents();
        if (!folder.isEmpty())
            dlg->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

}  // namespace

TEST_F(TBezDlgFixture, TypingShowsTheRestAndOkHandsOverThePayment)
{
    Open("104,00000");
    QLineEdit* amount = dlg->Editor(TBezDlgForm::kAmount);
    EXPECT_EQ(amount->text(), "104,00");
    EXPECT_EQ(dlg->windowTitle(), "Zahlung / Buchung");
    amount->setFocus();
    amount->selectAll();
    QTest::keyClicks(amount, "5x2.");
    EXPECT_EQ(amount->text(), "52,");
    EXPECT_EQ(dlg->RestLabel()->text(), "52,00");
    EXPECT_EQ(dlg->PercentLabel()->text(), "(= 50,0 % von 104,00)");
    dlg->KindButton(PaymentKind::Transfer)->click();
    EXPECT_EQ(options.Get("ZahlungsModus", "ZahlMod"), "ueberw");
    dlg->WriteOffBox()->click();
    Shot("TBezDlg_partial");
    port.QueueAnswer(Answer::Yes);
    QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    EXPECT_EQ(port.LastText(), "Rest (52,00 Euro) wirklich ausbuchen?");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_TRUE(form->HasEntry());
    EXPECT_EQ(double(form->Entry().amount), 52.0);
    EXPECT_EQ(form->Entry().kind, PaymentKind::Transfer);
}

TEST_F(TBezDlgFixture, DiscountButtonAndAltD)
{
    Open("100,00000");
    QLineEdit* discount = dlg->Editor(TBezDlgForm::kDiscount);
    discount->setFocus();
    discount->selectAll();
    QTest::keyClicks(discount, "2");
    QTest::mouseClick(dlg->DiscountButton(), Qt::LeftButton);
    EXPECT_EQ(dlg->Editor(TBezDlgForm::kAmount)->text(), "98,00");
    QLineEdit* date = dlg->Editor(TBezDlgForm::kDate);
    date->setFocus();
    date->clear();
    QTest::keyClick(date, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(date->text(), "15.03.2024");
}

TEST_F(TBezDlgFixture, PaidCardShowsWhyAndHasNoCancel)
{
    Open("0,00000");
    EXPECT_FALSE(dlg->CancelButton()->isVisible());
    EXPECT_EQ(dlg->StatusLabel()->text(), "Rechnung ist bezahlt!");
    EXPECT_TRUE(dlg->Editor(TBezDlgForm::kAmount)->isReadOnly());
    Shot("TBezDlg_paid");
    QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(form->HasEntry());
}
