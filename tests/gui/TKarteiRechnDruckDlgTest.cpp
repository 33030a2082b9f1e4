#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "FixedClock.h"
#include "MemorySettings.h"
#include "ScriptedUserPort.h"
#include "cards/ui/TKarteiRechnDruckDlg.h"

using namespace card;

namespace {

template <typename W>
W* Find(QDialog& dialog, const QString& text)
{
    for (W* w : dialog.findChildren<W*>()) {
        if (w->text() == text) {
            return w;
        }
    }
    return nullptr;
}

CardPrintSetup OpenCard()
{
    CardPrintSetup s;
    s.cardNumber = 7;
    s.storedCurrentNumber = 7;
    s.invoiceDate = QStringLiteral("- - -");
    s.openAmount = QStringLiteral("- - -");
    Row r;
    r.SetCell(kColDate, QStringLiteral("10.05.2024"));
    s.rows = {r};
    return s;
}

// Keeps a picture of the dialog when TALVEN_KEEP_PNG names a folder.
void Keep(QDialog& dialog, const QString& name)
{
    const QString folder = qEnvironmentVariable("TALVEN_KEEP_PNG");
    if (!folder.isEmpty()) {
        dialog.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
}

class TKarteiRechnDruckDlgTest : public ::testing::Test {
protected:
    ScriptedUserPort port;
    FixedClock clock{QDateTime(QDate(2024, 6, 15), QTime(9, 0))};
    MemorySettings options;
    TKarteiRechnDruckDlgForm form{port, clock, &options};
};

TEST_F(TKarteiRechnDruckDlgTest, ClosingPanelTypedDateAndOk)
{
    form.Open(OpenCard());
    TKarteiRechnDruckDlg dialog(form);
    dialog.Show();
    dialog.show();
    Keep(dialog, QStringLiteral("druckdlg_closing"));
    EXPECT_EQ(dialog.windowTitle(),
              QStringLiteral("Drucken (Kartei/ Angebot/ Rechnung/ Quittung/ Mahnung)"));
    QLineEdit* bis = dialog.findChildren<QLineEdit*>().first();
    EXPECT_TRUE(bis->isVisible());
    EXPECT_EQ(bis->text(), QStringLiteral("10.05.2024"));
    bis->clear();
    QTest::keyClicks(bis, QStringLiteral("1,6,2024"));
    emit bis->editingFinished();  // leaving the field; offscreen windows get no focus changes
    EXPECT_EQ(bis->text(), QStringLiteral("01.06.2024"));

    Find<QCheckBox>(dialog, QStringLiteral("&Karteikarte drucken"))->click();
    EXPECT_FALSE(bis->isVisible());
    EXPECT_NE(Find<QLabel>(dialog, QStringLiteral("&Druckdatum der Karteikarte")), nullptr);
    Keep(dialog, QStringLiteral("druckdlg_card"));
    Find<QPushButton>(dialog, QStringLiteral("OK"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.Choice().kind, PrintKind::Card);
}

TEST_F(TKarteiRechnDruckDlgTest, InvoiceOnlyPanelWithRemindersAndRefusedOk)
{
    CardPrintSetup s = OpenCard();
    s.cardNumber = 5;
    s.invoiceDate = QStringLiteral("20.05.2024");
    s.openAmount = QStringLiteral("42,00");
    s.remindersAvailable = true;
    form.Open(s);
    TKarteiRechnDruckDlg dialog(form);
    dialog.Show();
    dialog.show();
    Keep(dialog, QStringLiteral("druckdlg_invoiced"));
    QCheckBox* m1 = Find<QCheckBox>(dialog, QStringLiteral("1. Mahnung drucken"));
    ASSERT_NE(m1, nullptr);
    EXPECT_TRUE(m1->isVisible());
    EXPECT_TRUE(m1->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(dialog, QStringLiteral("&Angebot drucken"))->isEnabled());

    QLineEdit* date = dialog.findChildren<QLineEdit*>().last();
    date->setText(QStringLiteral("09.05.2024"));
    Find<QPushButton>(dialog, QStringLiteral("OK"))->click();
    EXPECT_EQ(port.LastText(), QStringLiteral("Fehler: Druckdatum vor letzter Behandlung!"));
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
