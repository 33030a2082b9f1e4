#pragma once

#include <QString>

// Sections and keys of text values, as the options file holds them. The options file
// implements it; tests use an in-memory map.
class KeyValueSettings {
public:
    virtual ~KeyValueSettings() = default;
    // False when the key is missing (value untouched).
    virtual bool Read(const QString& section, const QString& key, QString* value) const = 0;
    // False when the value could not be written.
    virtual bool Write(const QString& section, const QString& key, const QString& value) = 0;
};
