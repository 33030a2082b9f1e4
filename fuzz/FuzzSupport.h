#pragma once

// What the fuzz targets share: a user port that answers every question with its first
// button and never ends the process, the input as a file in a scratch folder, and a check
// that stops the run (a finding) when an invariant fails.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/UserPort.h"
#include "table/TableEnvironment.h"

namespace fuzz {

class SilentPort : public UserPort {
public:
    Answer Message(MsgKind, const QString&, Buttons buttons, const QString&) override
    {
        switch (buttons) {
            case Buttons::YesNo:
            case Buttons::YesNoCancel:
                return Answer::No;
            case Buttons::OkCancel:
                return Answer::Cancel;
            default:
                return Answer::Ok;
        }
    }
    void SetBusy(bool) override {}
    void ProcessEvents() override {}
    // The program would end here; a target must not, so it is a finding only when a
    // parser asks for it.
    [[noreturn]] void EndProgram(int) override
    {
        std::fprintf(stderr, "EndProgram called while reading a file\n");
        std::abort();
    }
    bool InputText(const QString&, const QString&, QString&) override { return false; }
    QString ChooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFolder(const QString&, const QString&) override { return {}; }
};

// A scratch folder for the whole run (memory-backed where there is one).
inline const QString& Scratch()
{
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm"))
                                 ? QStringLiteral("/dev/shm/talven-fuzz-XXXXXX")
                                 : QString());
    static const QString path = dir.path() + QLatin1Char('/');
    return path;
}

// Writes the input to a file of that name in the scratch folder and returns its path.
inline QString WriteInput(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = Scratch() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

inline std::shared_ptr<TableEnvironment> Environment()
{
    auto env = std::make_shared<TableEnvironment>();
    env->dataFolder = Scratch();
    env->lockWaitMs = 0;
    return env;
}

// An invariant of the reader failed: a finding.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
