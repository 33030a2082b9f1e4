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
    TMemoSeiteEinrichtenForm form(store);
    TMemoSeiteEinrichtenDlg dialog(form, TMemoSeiteEinrichtenForm::Workspace::TextEditor);
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
    TSeiteEinrichtenForm form(store);
    TSeiteEinrichtenDlg dialog(form, TSeiteEinrichtenForm::List::Abgabebeleg);
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

}  // namespace
