#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "ScriptedUserPort.h"
#include "TestFiles.h"
#include "table/TSGrid.h"

// A temporary data folder, a scripted user port and a grid of `dataCols` columns whose
// view has room for `rows` rows (title row included).
class TableFixture : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    std::unique_ptr<TSGrid> MakeGrid(int dataCols, int rows = 12)
    {
        auto grid = std::make_unique<TSGrid>(port, env);
        grid->SetColCount(dataCols + 1);
        grid->Resize(rows * (TSGrid::kDefaultRowHeight + TSGrid::kGridLineWidth));
        return grid;
    }

    // Immutable files cannot be renamed over or have their permissions changed, not even
    // by root. False when the file system does not support it.
    static bool SetImmutable(const QString& path, bool on)
    {
        return QProcess::execute(QStringLiteral("chattr"),
                                 {on ? QStringLiteral("+i") : QStringLiteral("-i"), path}) == 0;
    }

    QTemporaryDir dir;
    ScriptedUserPort port;
    std::shared_ptr<TableEnvironment> env = std::make_shared<TableEnvironment>();
};

// Removes the immutable flag again when a test ends, however it ends.
class ImmutableGuard {
public:
    explicit ImmutableGuard(QString path) : m_path(std::move(path)) {}
    ~ImmutableGuard()
    {
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_path, QFile::permissions(m_path) | QFileDevice::WriteOwner);
    }

private:
    QString m_path;
};
