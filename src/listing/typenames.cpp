#include "listing/typenames.h"

#include "listing/nativetext.h"

#include <QFile>
#include <QMimeDatabase>
#include <QMimeType>
#include <QStandardPaths>

#include <algorithm>
#include <string_view>

namespace vennic {

namespace {

bool hasWildcard(QStringView glob)
{
    return glob.contains(QLatin1Char('*')) || glob.contains(QLatin1Char('?')) ||
           glob.contains(QLatin1Char('['));
}

/// A stem no whole-name pattern of the MIME database uses, so a look-up by a synthetic name
/// finds the description of the extension alone.
const QString SyntheticStem = QStringLiteral("vennic-type-probe.");

/// An ASCII letter lower-cased; every other byte as it is.
char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string asciiLower(std::string text)
{
    for (char& c : text)
        c = asciiLower(c);
    return text;
}

/// A hash of the text with its ASCII letters lower-cased, made without a copy.
uint64_t loweredHash(std::string_view text)
{
    uint64_t hash = 1469598103934665603ull;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(asciiLower(c))) * 1099511628211ull;
    return hash;
}

} // namespace

TypeNames::TypeNames()
{
    intern(QStringLiteral("File Folder"));
    intern(QStringLiteral("File"));
    if (!readGlobFiles())
        readGlobsFromDatabase();
}

void TypeNames::addGlob(const QString& glob, const QString& mimeTypeName)
{
    if (!hasWildcard(glob)) {
        const QString lower = glob.toLower();
        m_wholeNames.insert(lower, mimeTypeName);
        m_wholeNameHashes.insert(loweredHash(lower.toStdString()));
        return;
    }
    // "*.tar.gz": a suffix of more than one part that the last extension cannot find.
    const QStringView rest = QStringView(glob).mid(1);
    if (glob.startsWith(QLatin1String("*.")) && !hasWildcard(rest) &&
        rest.mid(1).contains(QLatin1Char('.'))) {
        const QString suffix = rest.toString().toLower();
        m_multiSuffixes.insert(suffix, mimeTypeName);
        m_multiSuffixEnds.insert(
            suffix.mid(suffix.lastIndexOf(QLatin1Char('.')) + 1).toStdString());
    }
}

bool TypeNames::readGlobFiles()
{
    // The MIME database's own glob lists ("weight:type:glob[:flags]" per line). Reading them
    // takes about a millisecond, where asking the database for every type's globs loads every
    // type's description (some 50 ms at each start). Files of higher priority come first.
    const QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                        QStringLiteral("mime/globs2"));
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        QFile in(*file);
        if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!in.atEnd()) {
            const QString line = QString::fromUtf8(in.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QStringList fields = line.split(QLatin1Char(':'));
            if (fields.size() >= 3 && !fields.at(2).isEmpty())
                addGlob(fields.at(2), fields.at(1));
        }
    }
    return !files.isEmpty();
}

void TypeNames::readGlobsFromDatabase()
{
    const QMimeDatabase db;
    for (const QMimeType& type : db.allMimeTypes())
        for (const QString& glob : type.globPatterns())
            addGlob(glob, type.name());
}

uint16_t TypeNames::intern(const QString& text)
{
    const auto found = m_textIndex.constFind(text);
    if (found != m_textIndex.cend())
        return *found;
    // A table full to the brim gives later kinds the plain "File" text rather than failing.
    if (m_texts.size() >= 0xFFFF)
        return 1;
    const auto index = uint16_t(m_texts.size());
    m_texts.append(text);
    m_textIndex.insert(text, index);
    return index;
}

uint16_t TypeNames::cachedIndex(const QString& key, const QString& mimeTypeName)
{
    const auto cached = m_byWholeName.constFind(key);
    if (cached != m_byWholeName.cend())
        return *cached;
    const QString description = QMimeDatabase().mimeTypeForName(mimeTypeName).comment();
    return m_byWholeName[key] =
               intern(description.isEmpty() ? QStringLiteral("File") : description);
}

QString TypeNames::lookUp(const QString& lowerExtension) const
{
    const QMimeDatabase db;
    const QList<QMimeType> types = db.mimeTypesForFileName(SyntheticStem + lowerExtension);
    if (types.isEmpty() || types.first().comment().isEmpty())
        return lowerExtension.toUpper() + QLatin1String(" File");
    return types.first().comment();
}

uint16_t TypeNames::indexOf(const NativeString& fileName)
{
    // Most names are plain ASCII: they are lower-cased by bytes, and only one the database
    // knows whole or one that could end in a suffix of several parts goes on to the general
    // rules; the rest are found by their extension alone. Other names take the general path.
    const bool ascii = std::all_of(fileName.begin(), fileName.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        return indexOfLowered(nativeToQString(fileName).toLower());
    const size_t lastDot = fileName.rfind('.');
    const bool maybeMulti = lastDot != std::string::npos && lastDot > 0 &&
                            fileName.find('.', 1) < lastDot &&
                            m_multiSuffixEnds.contains(asciiLower(fileName.substr(lastDot + 1)));
    if (maybeMulti || m_wholeNameHashes.contains(loweredHash(fileName)))
        return indexOfLowered(QString::fromLatin1(asciiLower(fileName)));
    if (lastDot == std::string::npos || lastDot == fileName.size() - 1)
        return 1; // "File"
    const std::string extension = asciiLower(fileName.substr(lastDot + 1));
    std::lock_guard lock(m_mutex);
    const auto known = m_byAsciiExtension.find(extension);
    if (known != m_byAsciiExtension.end())
        return known->second;
    const uint16_t index = extensionIndex(QString::fromLatin1(extension));
    m_byAsciiExtension.emplace(extension, index);
    return index;
}

uint16_t TypeNames::extensionIndex(const QString& extension)
{
    const auto known = m_byExtension.constFind(extension);
    if (known != m_byExtension.cend())
        return *known;
    return m_byExtension[extension] = intern(lookUp(extension));
}

uint16_t TypeNames::indexOfLowered(const QString& lower)
{
    const qsizetype lastDot = lower.lastIndexOf(QLatin1Char('.'));
    std::lock_guard lock(m_mutex);
    const auto whole = m_wholeNames.constFind(lower);
    if (whole != m_wholeNames.cend())
        return cachedIndex(lower, *whole);
    // Only a name with two dots or more can end in a multi-part suffix; the longest one wins,
    // as in the MIME database's own matching. The first dot of the name begins no suffix, so
    // that ".tar.gz" alone is a hidden file's name rather than an archive.
    if (lastDot > 0) {
        for (qsizetype dot = lower.indexOf(QLatin1Char('.'), 1); dot >= 0 && dot < lastDot;
             dot = lower.indexOf(QLatin1Char('.'), dot + 1)) {
            const QString suffix = lower.mid(dot);
            const auto multi = m_multiSuffixes.constFind(suffix);
            if (multi != m_multiSuffixes.cend())
                return cachedIndex(suffix, *multi);
        }
    }
    if (lastDot < 0 || lastDot == lower.size() - 1)
        return 1; // "File"
    return extensionIndex(lower.mid(lastDot + 1));
}

QString TypeNames::text(uint16_t index) const
{
    std::lock_guard lock(m_mutex);
    return index < m_texts.size() ? m_texts.at(index) : QString();
}

TypeNamer TypeNames::namer()
{
    return [this](const NativeString& name) { return text(indexOf(name)).toStdString(); };
}

} // namespace vennic
