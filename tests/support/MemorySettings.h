#pragma once

#include <QMap>
#include <QPair>

#include "common/KeyValueSettings.h"

// Settings in memory; writes can be made to fail.
class MemorySettings : public KeyValueSettings {
public:
    bool Read(const QString& section, const QString& key, QString* value) const override
    {
        const auto it = values.find({section, key});
        if (it == values.end())
            return false;
        *value = *it;
        return true;
    }
    bool Write(const QString& section, const QString& key, const QString& value) override
    {
        if (failWrites)
            return false;
        values[{section, key}] = value;
        return true;
    }
    QString Get(const QString& section, const QString& key) const
    {
        return values.value({section, key});
    }

    QMap<QPair<QString, QString>, QString> values;
    bool failWrites = false;
};
