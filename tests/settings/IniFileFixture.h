#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/TestFiles.h"

// An options file in a fresh temporary folder, written and read back as raw bytes.
class IniFileFixture : public ::testing::Test {
protected:
    QString Path() const { return m_dir.filePath("TLV.INI"); }
    void Write(const QByteArray& bytes) { testfiles::WriteAll(Path(), bytes); }
    QByteArray Read() const { return testfiles::ReadAll(Path()); }

    QTemporaryDir m_dir;
};
