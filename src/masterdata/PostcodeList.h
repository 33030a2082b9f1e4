#pragma once

#include <QString>
#include <QStringList>

// The learned list of postcodes and towns behind the customer's postcode field, kept in
// the data folder as PLZ.MXX (one entry a line, in the order learned). The list never
// stops the dialog: read and write errors leave it as it is.
class PostcodeList {
public:
    static constexpr int kMaxEntries = 300;
    static QString FileName() { return QStringLiteral("PLZ.MXX"); }

    explicit PostcodeList(QString path) : m_path(std::move(path)) {}

    void Load();  // clears the list and reads the file; a missing file leaves it empty
    const QStringList& Entries() const { return m_entries; }

    // On OK: appends a text not known yet (case-insensitive), dropping the first entry
    // when the list is full, and writes the file.
    void Learn(const QString& text);
    // Removes every entry equal to the text (case-insensitive) and writes the file.
    void Remove(const QString& text);
    // Drops empty entries; writes the file only when one was dropped.
    void CleanUp();
    // The last entry that begins with the typed text (case-sensitive); empty when there is
    // none or the text holds 4 characters or fewer.
    QString Complete(const QString& typed) const;

private:
    void Save() const;

    QString m_path;
    QStringList m_entries;
};
