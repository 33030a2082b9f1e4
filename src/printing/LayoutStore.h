#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// Where page layouts are kept: sections of key/value pairs in file order, as in the
// options file. The options file provides one; MemoryLayoutStore stands in for it.
class LayoutStore {
public:
    virtual ~LayoutStore() = default;
    // Key names of a section in their stored order; empty when the section is missing.
    virtual QStringList SectionKeys(const QString& section) const = 0;
    virtual QString Read(const QString& section, const QString& key,
                         const QString& fallback) const = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
    virtual void EraseSection(const QString& section) = 0;
    // The writes between these two reach the store as one change (the options file: one
    // replace of the file). Pairs nest.
    virtual void BeginChanges() {}
    virtual void EndChanges() {}
};

// BeginChanges and EndChanges around a scope.
class LayoutChanges {
public:
    explicit LayoutChanges(LayoutStore& store) : m_store(store) { m_store.BeginChanges(); }
    ~LayoutChanges() { m_store.EndChanges(); }
    LayoutChanges(const LayoutChanges&) = delete;
    LayoutChanges& operator=(const LayoutChanges&) = delete;

private:
    LayoutStore& m_store;
};

// Sections in memory, keys kept in the order written.
class MemoryLayoutStore : public LayoutStore {
public:
    QStringList SectionKeys(const QString& section) const override;
    QString Read(const QString& section, const QString& key,
                 const QString& fallback) const override;
    void Write(const QString& section, const QString& key, const QString& value) override;
    void EraseSection(const QString& section) override;

private:
    using Section = QList<std::pair<QString, QString>>;
    QList<std::pair<QString, Section>> m_sections;
    Section* Find(const QString& section);
    const Section* Find(const QString& section) const;
};
