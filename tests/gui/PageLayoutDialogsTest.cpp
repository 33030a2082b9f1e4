#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "printing/ui/PageLayoutDialogs.h"

namespace {

QPushButton* Button(QDialog& dialog, const QString& text)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == text) {
            return b;
        }
    }
    return nullptr;
}

TEST(PageLayoutDialogsTest, DocumentDialogWritesWhatWasTypedOnOk)
{
    MemoryLayoutStore store;
    TMemoSeiteEinrichtenDlgForm form(store);
    TMemoSeiteEinrichtenDlg dialog(form, TMemoSeiteEinrichtenDlgForm::Workspace::TextEditor);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Druckbild - Textverarbeitung"));
    QLineEdit* oben = dialog.findChildren<QLineEdit*>().first();
    oben->clear();
    QTest::keyClicks(oben, QStringLiteral("1.a,5"));  // the point and the letter are refused
    EXPECT_EQ(oben->text(), QStringLiteral("1,5"));
    Button(dialog, QStringLiteral("OK"))->click();
    EXPECT_EQ(store.Read(QStringLiteral("EditorOptionen"), QStringLiteral("ObenEdit"), {}),
              QStringLiteral("1,5"));
}

TEST(PageLayoutDialogsTest, DispensingWidthLeftEmptyGetsItsDefaultBack)
{
    MemoryLayoutStore store;
    TSeiteEinrichtenDlgForm form(store);
    TSeiteEinrichtenDlg dialog(form, TSeiteEinrichtenDlgForm::List::Abgabebeleg);
    QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
    QLineEdit* firstWidth = nullptr;
    for (QLineEdit* e : edits) {
        if (e->text() == QStringLiteral("3,1")) {
            firstWidth = e;
            break;
        }
    }
    ASSERT_NE(firstWidth, nullptr);
    firstWidth->clear();
    emit firstWidth->editingFinished();
    EXPECT_EQ(firstWidth->text(), QStringLiteral("3,1"));
    Button(dialog, QStringLiteral("Abbrechen"))->click();
    EXPECT_TRUE(store.SectionKeys(QStringLiteral("AbgSeitenOptionen")).isEmpty());
}

TEST(PageLayoutDialogsTest, TableDialogMarginsStoredShownAndReset)
{
    MemoryLayoutStore store;
    TSeiteEinrichtenDlgForm form(store);
    const QStringList typed = {QStringLiteral("1"), QStringLiteral("1,5"), QStringLiteral("2,5"),
                               QStringLiteral("3")};
    {
        TSeiteEinrichtenDlg dialog(form, TSeiteEinrichtenDlgForm::List::Medikamente);
        const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
        ASSERT_GE(edits.size(), 4);
        for (int i = 0; i < 4; ++i) {
            edits[i]->clear();
            QTest::keyClicks(edits[i], typed[i]);
        }
        Button(dialog, QStringLiteral("OK"))->click();
    }
    const QString section = form.Section();
    const char* keys[] = {"ObenEdit", "UntenEdit", "LinksEdit", "RechtsEdit"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(store.Read(section, QString::fromLatin1(keys[i]), {}), typed[i]) << keys[i];

    // Opened again it shows them; "Standard..." shows the defaults, which Cancel drops.
    TSeiteEinrichtenDlg dialog(form, TSeiteEinrichtenDlgForm::List::Medikamente);
    const QList<QLineEdit*> edits = dialog.findChildren<QLineEdit*>();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(edits[i]->text(), typed[i]) << keys[i];
    Button(dialog, QStringLiteral("Standard..."))->click();
    const QStringList standard = {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("2"),
                                  QStringLiteral("2")};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(edits[i]->text(), standard[i]) << keys[i];
    Button(dialog, QStringLiteral("Abbrechen"))->click();
    EXPECT_EQ(store.Read(section, QStringLiteral("ObenEdit"), {}), typed[0]);
}

}  // namespace
