#pragma once

#include "platform/filesystem.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>

namespace vennic {

/// The type texts of files and folders, interned: a row keeps a 16-bit index into this table.
/// Look-ups are cached: names the desktop's MIME database knows whole ("Makefile") or by a
/// multi-part suffix ("*.tar.gz") are collected once; every other name is cached by its
/// lower-case last extension. An unknown extension gives "TXT File"-style texts, no extension
/// gives "File". Safe to use from several threads.
class TypeNames {
public:
    TypeNames();

    /// Index 0 is always "File Folder".
    static constexpr uint16_t FolderIndex = 0;

    uint16_t indexOf(const NativeString& fileName);
    QString text(uint16_t index) const;
    /// A namer for the file-system service (UTF-8 texts).
    TypeNamer namer();

private:
    uint16_t intern(const QString& text);
    void addGlob(const QString& glob, const QString& mimeTypeName);
    bool readGlobFiles();
    void readGlobsFromDatabase();
    uint16_t cachedIndex(const QString& key, const QString& mimeTypeName);
    QString lookUp(const QString& name) const;

    mutable std::mutex m_mutex;
    QStringList m_texts;
    QHash<QString, uint16_t> m_textIndex;
    QHash<QString, uint16_t> m_byExtension;  ///< lower-case last extension → index
    QHash<QString, uint16_t> m_byWholeName;  ///< whole names and multi-part suffixes → index
    QHash<QString, QString> m_wholeNames;    ///< lower-case whole name → MIME type name
    QHash<QString, QString> m_multiSuffixes; ///< lower-case ".tar.gz" → MIME type name
};

} // namespace vennic
