#include "MainWindowTest.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QToolBar>

#include "settings/IniFile.h"
#include "settings/Options.h"
#include "support/TestFiles.h"

void MainWindowTest::MakeData(const QByteArray& ini, const QStringList& med,
                              const QStringList& services, const QStringList& customers)
{
    ASSERT_TRUE(QDir(Program()).mkpath("DATEN"));
    testfiles::WriteAll(Ini(), ini);
    testfiles::WriteLines(Data() + "MED.DBF", med);
    testfiles::WriteLines(Data() + "LEISTUNG.DBF", services);
    testfiles::WriteLines(Data() + "KUNDE.DBF", customers);
}

void MainWindowTest::WriteOptions(const OptionValues& v)
{
    IniFile ini(Ini());
    ASSERT_TRUE(WriteOrderedOptions(ini, v));
}

std::unique_ptr<TForm1> MainWindowTest::Make()
{
    return std::make_unique<TForm1>(m_port, m_clock, Program(), [] { return QStringList{}; });
}

std::unique_ptr<TForm1> MainWindowTest::Start()
{
    auto form = Make();
    form->ShowMain();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
}

std::unique_ptr<TForm1> MainWindowTest::StartActive(QSize size)
{
    auto form = Make();
    form->resize(size);
    form->ShowMain();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

void MainWindowTest::ClickTool(TForm1& form, Workspace w)
{
    QToolBar* bar = form.findChild<QToolBar*>("ToolBar");
    ASSERT_NE(bar, nullptr);
    QWidget* button = bar->widgetForAction(form.ToolAction(w));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString MainWindowTest::LabelText(TForm1& form, const char* name)
{
    auto* label = form.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing>");
}

void MainWindowTest::TearDown()
{
    QDir::setCurrent(QDir::tempPath());
}
