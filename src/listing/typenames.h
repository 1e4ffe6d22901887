#pragma once

#include "platform/filesystem.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

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
    /// The index of a whole lower-cased name, by the general rules.
    uint16_t indexOfLowered(const QString& lower);
    /// The index for a lower-case last extension; the lock is held.
    uint16_t extensionIndex(const QString& extension);
    QString lookUp(const QString& name) const;

    mutable std::mutex m_mutex;
    QStringList m_texts;
    QHash<QString, uint16_t> m_textIndex;
    QHash<QString, uint16_t> m_byExtension;  ///< lower-case last extension → index
    QHash<QString, uint16_t> m_byWholeName;  ///< whole names and multi-part suffixes → index
    QHash<QString, QString> m_wholeNames;    ///< lower-case whole name → MIME type name
    QHash<QString, QString> m_multiSuffixes; ///< lower-case ".tar.gz" → MIME type name
    /// Hashes of the whole names, and the last parts of the multi-part suffixes ("gz"), read
    /// without the lock (they are made once): names that match neither are found by their
    /// extension alone.
    std::unordered_set<uint64_t> m_wholeNameHashes;
    std::unordered_set<std::string> m_multiSuffixEnds;
    std::unordered_map<std::string, uint16_t> m_byAsciiExtension; ///< as m_byExtension
};

} // namespace vennic
