#include "TestFiles.h"

#include <gtest/gtest.h>
#include <QFile>

#include "common/CodePage.h"

namespace testfiles {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void WriteLines(const QString& path, const QStringList& lines)
{
    WriteAll(path, cp1252::JoinLines(lines));
}

}  // namespace testfiles
