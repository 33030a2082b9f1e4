#pragma once

#include <QFile>
#include <functional>
#include <memory>

#include "platform/Files.h"

// File calls that fail on purpose: the devices accept `budget` bytes in all (a disk that
// fills up) and then refuse, a rename fails while `failedRenames` is above zero, and
// `beforeRename` runs before each rename (a file vanishing in between).
class FailingFileIo : public files::FileIo {
public:
    class Device : public QFile {
    public:
        Device(const QString& path, std::shared_ptr<qint64> budget)
            : QFile(path), m_budget(std::move(budget))
        {
        }

    protected:
        qint64 writeData(const char* data, qint64 len) override
        {
            if (*m_budget <= 0) {
                setErrorString(QStringLiteral("No space left on device"));
                return -1;
            }
            const qint64 n = QFile::writeData(data, std::min(len, *m_budget));
            *m_budget -= n;
            return n;
        }

    private:
        std::shared_ptr<qint64> m_budget;
    };

    std::unique_ptr<QFile> Device(const QString& path) const override
    {
        return std::make_unique<class Device>(path, budget);
    }
    bool Rename(const QString& from, const QString& to) const override
    {
        if (beforeRename)
            beforeRename();
        if (failedRenames > 0) {
            --failedRenames;
            return false;
        }
        return files::FileIo::Rename(from, to);
    }
    bool RenameNew(const QString& from, const QString& to) const override
    {
        if (beforeRename)
            beforeRename();
        if (failedRenames > 0) {
            --failedRenames;
            return false;
        }
        return files::FileIo::RenameNew(from, to);
    }

    std::shared_ptr<qint64> budget = std::make_shared<qint64>(1 << 30);
    mutable int failedRenames = 0;
    std::function<void()> beforeRename;
};
