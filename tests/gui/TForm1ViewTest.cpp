#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "MainWindowTest.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "shell/ui/TForm1.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"
#include "support/TestFiles.h"
#include "table/TSGrid.h"
#include "table/ui/TSGridView.h"

namespace {

// The main window's grids, table font, GoBD switch and indicator blinking.
class TForm1ViewTest : public MainWindowTest {
protected:
    static bool Shown(TForm1& form, const char* name)
    {
        auto* label = form.findChild<QLabel*>(name);
        return label && label->isVisible();
    }
    static void Tick(TForm1& form)
    {
        QMetaObject::invokeMethod(&form.IndicatorTimer(), "timeout", Qt::DirectConnection);
    }
    static void SendMouse(QWidget* w, QEvent::Type type, const QPoint& pos,
                          Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(w, &event);
    }
};

}  // namespace

TEST_F(TForm1ViewTest, DraggedColumnWidthSurvivesARestart)
{
    MakeData();
    {
        auto form = Start();
        form->SwitchWorkspace(Workspace::Kunden);
        TSGridView* view = form->View(MasterTable::Customer);
        ASSERT_TRUE(view->isVisible());
        const QRect title = view->CellRect(1, 0);
        const QPoint border(title.right() + 1, title.center().y());
        ASSERT_EQ(view->SizingBorderAt(border), 1) << "master grids size their columns";
        SendMouse(view->Area(), QEvent::MouseButtonPress, border, Qt::LeftButton);
        SendMouse(view->Area(), QEvent::MouseMove, border + QPoint(35, 0), Qt::LeftButton);
        SendMouse(view->Area(), QEvent::MouseButtonRelease, border + QPoint(35, 0), Qt::NoButton);
        EXPECT_EQ(form->Grid(MasterTable::Customer).ColWidth(1), 140 + 35);
        form->close();
    }
    EXPECT_EQ(IniFile(Ini()).ReadInteger("Optionen", "wKName", 0), 175);
    auto again = Start();
    EXPECT_EQ(again->Grid(MasterTable::Customer).ColWidth(1), 175);
}

TEST_F(TForm1ViewTest, RemarkColumnsFillTheirViewsAndKeepTheirOwnWidth)
{
    MakeData("[Optionen]\r\nwKBem=60\r\nwMedBem=60\r\nwLeistBem=60\r\n");
    const std::pair<Workspace, MasterTable> cases[] = {
        {Workspace::Medikamente, MasterTable::Medication},
        {Workspace::Leistungen, MasterTable::Service},
        {Workspace::Kunden, MasterTable::Customer},
    };
    {
        auto form = StartActive(QSize(1100, 780));
        for (QSize size : {QSize(1100, 780), QSize(1400, 780)}) {
            form->resize(size);
            for (const auto& [workspace, table] : cases) {
                ClickTool(*form, workspace);
                QApplication::processEvents();
                const TSGrid& grid = form->Grid(table);
                int total = 0;
                for (int c = 0; c < grid.ColCount(); ++c)
                    if (grid.ColWidth(c) > 0)
                        total += grid.ColWidth(c) + grid.GridLineWidth();
                EXPECT_EQ(total, form->View(table)->Area()->width())
                    << int(table) << " at " << size.width();
            }
        }
        form->close();
    }
    for (const char* key : {"wKBem", "wMedBem", "wLeistBem"})
        EXPECT_EQ(IniFile(Ini()).ReadInteger("Optionen", key, 0), 60) << key;
}

TEST_F(TForm1ViewTest, TableFontSizeChangesEveryGridAndTheQuantityFields)
{
    MakeData();
    auto form = Start();
    QSignalSpy changed(form.get(), &TForm1::tableFontChanged);
    QAction* ten = form->findChild<QAction*>("TabFont10");
    ASSERT_NE(ten, nullptr);
    ten->trigger();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(ten->isChecked());
    for (MasterTable g : {MasterTable::Medication, MasterTable::Service, MasterTable::Customer}) {
        EXPECT_EQ(form->View(g)->Area()->font().pointSize(), 10);
        EXPECT_EQ(form->Grid(g).DefaultRowHeight(), 25);
    }
    EXPECT_EQ(form->Start().TableFontSize(), 10) << "what the close writes";
    TSGrid& med = form->Grid(MasterTable::Medication);
    EXPECT_EQ(med.ColWidth(9), 65);
    EXPECT_LT(med.TextWidth("VerkMitSt") + 2, med.ColWidth(4)) << "titles stay whole";
    EXPECT_TRUE(form->findChild<QLineEdit*>("MengeMedEdit")->font().bold());
    EXPECT_TRUE(form->findChild<QLineEdit*>("MengeLeistungEdit")->font().bold());

    form->findChild<QAction*>("TabFont8")->trigger();
    EXPECT_FALSE(ten->isChecked());
    EXPECT_EQ(form->Grid(MasterTable::Customer).DefaultRowHeight(), 20);
    EXPECT_EQ(form->Grid(MasterTable::Medication).ColWidth(9), 55);
    EXPECT_FALSE(form->findChild<QLineEdit*>("MengeMedEdit")->font().bold());
}

TEST_F(TForm1ViewTest, GoBdSwitchOnlyForTheServiceAndOnAtStart)
{
    MakeData();
    {
        auto form = Start();
        EXPECT_FALSE(form->findChild<QAction*>("GoBDItem")->isVisible());
        EXPECT_TRUE(form->GoBdRestrictions());
    }
    OptionValues v;
    v.SetValue("NameEdit", "#TALVEN-GOBD-SERVICE#");
    WriteOptions(v);
    auto form = Start();
    QAction* item = form->findChild<QAction*>("GoBDItem");
    EXPECT_TRUE(item->isVisible());
    EXPECT_TRUE(item->isChecked());
    QSignalSpy changed(form.get(), &TForm1::goBdRestrictionsChanged);
    item->trigger();
    EXPECT_FALSE(form->GoBdRestrictions());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());
}

TEST_F(TForm1ViewTest, TimerTicksBlinkTheIndicatorsThenSettle)
{
    MakeData();
    OptionValues v;
    v.SetFlag("PW_SysChk", true);
    v.SetPassword("geheim1");
    WriteOptions(v);
    {
        IniFile ini(Ini());
        ini.WriteString("Optionen", "MedInvAutom", "TRUE");
    }
    auto form = Start();
    ASSERT_TRUE(form->IndicatorTimer().isActive());
    EXPECT_EQ(form->IndicatorTimer().interval(), 400);
    form->IndicatorTimer().stop();  // the ticks come from the test
    EXPECT_TRUE(Shown(*form, "PasswordIndicator"));
    EXPECT_TRUE(Shown(*form, "StockIndicator"));
    EXPECT_FALSE(Shown(*form, "BackupIndicator"));
    EXPECT_TRUE(Shown(*form, "InfoPanel")) << "no automatic backup";

    for (int tick = 1; tick < 12; ++tick) {
        Tick(*form);
        const bool on = tick % 2 == 0;
        EXPECT_EQ(Shown(*form, "PasswordIndicator"), on) << tick;
        EXPECT_EQ(Shown(*form, "StockIndicator"), on) << tick;
        EXPECT_FALSE(Shown(*form, "BackupIndicator")) << tick;
    }
    form->IndicatorTimer().start();
    Tick(*form);  // the twelfth tick ends the blinking
    EXPECT_FALSE(form->IndicatorTimer().isActive());
    EXPECT_TRUE(Shown(*form, "PasswordIndicator"));
    EXPECT_TRUE(Shown(*form, "StockIndicator"));
}

TEST_F(TForm1ViewTest, StockSwitchShowsItsIconWithoutBlinking)
{
    MakeData("[Optionen]\r\nMedInvAutom=TRUE\r\n");
    {
        auto form = Start();
        EXPECT_FALSE(form->IndicatorTimer().isActive()) << "no backup, no password";
        EXPECT_TRUE(Shown(*form, "StockIndicator")) << "read at start";
    }
    testfiles::WriteAll(Ini(), {});
    auto form = Start();
    EXPECT_FALSE(Shown(*form, "StockIndicator"));
    form->SwitchWorkspace(Workspace::Medikamente);
    QAction* stock = nullptr;
    for (QAction* a : form->findChildren<QAction*>())
        if (a->text() == "Autom. Inventur der Medikamente")
            stock = a;
    ASSERT_NE(stock, nullptr);
    stock->trigger();
    EXPECT_TRUE(Shown(*form, "StockIndicator"));
    stock->trigger();
    EXPECT_FALSE(Shown(*form, "StockIndicator"));
}
