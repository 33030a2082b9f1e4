#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "shell/ui/TForm1.h"
#include "support/FixedClock.h"
#include "support/ScriptedUserPort.h"

class OptionValues;

// The real main window on a temporary program folder, as the person starts it: a data
// folder with the options file and the three master tables, answers from a scripted port
// and a fixed clock (Friday, 15 March 2024, 9:00, unless a test sets another).
class MainWindowTest : public ::testing::Test {
protected:
    QString Program() const { return m_dir.path() + "/"; }
    QString Data() const { return Program() + "DATEN/"; }
    QString Ini() const { return Data() + "TLV.INI"; }

    // Creates the data folder with the options file and the master tables (lines in code
    // page 1252); an empty list leaves a table empty.
    void MakeData(const QByteArray& ini = {}, const QStringList& med = {},
                  const QStringList& services = {}, const QStringList& customers = {});
    void WriteOptions(const OptionValues& v);

    // The window built but not shown yet.
    std::unique_ptr<TForm1> Make();
    // The window shown and exposed.
    std::unique_ptr<TForm1> Start();
    // The window shown at a given size and active, so keys and focus reach it.
    std::unique_ptr<TForm1> StartActive(QSize size);

    // Clicks the tool bar button of a workspace as a person would.
    static void ClickTool(TForm1& form, Workspace w);
    static QString LabelText(TForm1& form, const char* name);

    // Leaves no test working in a folder that is removed with it.
    void TearDown() override;

    QTemporaryDir m_dir;
    ScriptedUserPort m_port;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 15), QTime(9, 0))};
};
