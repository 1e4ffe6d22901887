#include "output/savedlistingcommands.h"

#include "listing/panelist.h"
#include "platform/prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <new>

namespace vennic {

namespace {

const QString SaveTitle = QStringLiteral("Save (as)");
const QString OpenTitle = QStringLiteral("Open");

// Rows are gathered into a buffer of about this size before each write.
constexpr qsizetype WriteChunk = qsizetype(1) << 20;

// Writes all of `bytes`. A write that stops short (the disk filled up, the file reached the
// size limit) is not an error by itself, so the rest is written again until the device
// reports why it cannot take more.
bool writeAll(QSaveFile& file, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += qsizetype(n);
    }
    return true;
}

QString reasonOf(const QFileDevice& file, const QString& fallback)
{
    return file.error() == QFileDevice::NoError ? fallback : file.errorString();
}

QString saveFailure(const QString& fileName, const QString& reason, bool existed)
{
    QString text =
        QStringLiteral("Could not save the folder listing to \"%1\": %2.").arg(fileName, reason);
    text += existed ? QStringLiteral(" The existing file was left as it was.")
                    : QStringLiteral(" No file was written.");
    return text;
}

/// A byte count for a message: whole mebibytes as such, any other count in bytes.
QString bytesText(qint64 bytes)
{
    constexpr qint64 MiB = qint64(1) << 20;
    if (bytes >= MiB && bytes % MiB == 0)
        return QStringLiteral("%L1 MiB").arg(bytes / MiB);
    return bytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%L1 bytes").arg(bytes);
}

/// Reads at most `limit` + 1 bytes, so a file that grew after its size was looked at still
/// shows as too large without being read whole.
QByteArray readUpTo(QFile& file, qint64 limit, qint64 expected)
{
    constexpr qint64 Chunk = qint64(1) << 20;
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min(expected, limit) + 1));
    while (bytes.size() <= limit) {
        const qint64 want = std::min(Chunk, limit + 1 - bytes.size());
        const qsizetype before = bytes.size();
        bytes.resize(before + qsizetype(want));
        const qint64 got = file.read(bytes.data() + before, want);
        bytes.resize(before + qsizetype(std::max<qint64>(got, 0)));
        if (got <= 0)
            break;
    }
    return bytes;
}

QString changedTextsMessage(int changed)
{
    const QString count =
        changed == 1 ? QStringLiteral("1 text") : QStringLiteral("%L1 texts").arg(changed);
    return QStringLiteral("%1 held a line break or the character with code 2. Each such "
                          "character was saved as \"?\" so that the file keeps its lines.")
        .arg(count);
}

} // namespace

SaveListingResult writeListingFile(const QString& fileName, const QString& pathText,
                                   const QString& countText, const PaneList& list)
{
    SaveListingResult result;
    const QFileInfo info(fileName);
    const bool existed = info.exists();

    // QSaveFile refuses an existing file that may not be written, so a read-only file is never
    // replaced by the rename.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        const QString reason = existed && info.isFile() && !info.isWritable()
                                   ? QStringLiteral("the file is read-only")
                                   : reasonOf(file, QStringLiteral("it cannot be created"));
        result.error = saveFailure(fileName, reason, existed);
        return result;
    }

    QByteArray buffer;
    buffer.reserve(WriteChunk + 4096);
    const std::array<QString, 1> pathLine{pathText};
    const std::array<QString, 1> countLine{countText};
    result.changedTexts += SavedListingFormat::appendLine(buffer, pathLine);
    result.changedTexts += SavedListingFormat::appendLine(buffer, countLine);
    bool written = true;
    std::array<QString, SavedListingFormat::FieldCount> fields;
    const int rows = list.rowCount();
    for (int r = 0; r < rows && written; ++r) {
        for (int c = 0; c < SavedListingFormat::FieldCount; ++c)
            fields[size_t(c)] = list.cellText(r, c);
        result.changedTexts += SavedListingFormat::appendLine(buffer, fields);
        if (buffer.size() >= WriteChunk) {
            written = writeAll(file, buffer);
            buffer.resize(0); // keeps the capacity for the next chunk
        }
    }
    written = written && writeAll(file, buffer) && file.flush();
    if (!written) {
        const QString reason = reasonOf(file, QStringLiteral("the disk is full"));
        // The temporary file is removed when `file` goes away without a commit.
        file.cancelWriting();
        result.error = saveFailure(fileName, reason, existed);
        return result;
    }
    if (!file.commit()) {
        result.error = saveFailure(
            fileName, reasonOf(file, QStringLiteral("the file could not be replaced")), existed);
        return result;
    }
    result.saved = true;
    return result;
}

ReadListingResult readListingFile(const QString& fileName, const SavedListingLimits& limits)
{
    const auto failure = [&](const QString& reason) {
        ReadListingResult failed;
        failed.error = QStringLiteral("Could not open the folder listing \"%1\": %2. The list was "
                                      "left as it was.")
                           .arg(fileName, reason);
        return failed;
    };
    const auto tooLarge = [&] {
        return failure(QStringLiteral("it is larger than %1, more than any folder listing holds")
                           .arg(bytesText(limits.maxFileBytes)));
    };
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        return failure(info.isDir() ? QStringLiteral("it is a folder")
                                    : QStringLiteral("it is not a regular file"));
    // Checked before reading, so a huge file costs no memory and no time.
    if (info.size() > limits.maxFileBytes)
        return tooLarge();

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failure(reasonOf(file, QStringLiteral("it cannot be read")));
    ReadListingResult result;
    ParsedListing parsed;
    try {
        const QByteArray bytes = readUpTo(file, limits.maxFileBytes, info.size());
        if (file.error() != QFileDevice::NoError)
            return failure(file.errorString());
        if (bytes.size() > limits.maxFileBytes)
            return tooLarge();
        // "Open" takes only what is a saved listing: any other file is refused, not shown.
        SavedListingLimits strict = limits;
        strict.requireFormat = true;
        parsed = SavedListingFormat::parse(bytes, strict);
    } catch (const std::bad_alloc&) {
        // Whatever was built is freed on the way out; the pane has not been touched.
        return failure(QStringLiteral("there is not enough memory to read it"));
    }
    switch (parsed.problem) {
    case ParsedListing::Problem::None:
        break;
    case ParsedListing::Problem::TooManyRows:
        return failure(
            QStringLiteral("it holds more than %L1 rows, more than any folder listing holds")
                .arg(limits.maxRows));
    case ParsedListing::Problem::TextTooLong:
        return failure(QStringLiteral("its line %L1 holds a text longer than %2, more than any "
                                      "folder listing holds")
                           .arg(parsed.line)
                           .arg(bytesText(limits.maxTextBytes)));
    case ParsedListing::Problem::NotACountLine:
        return failure(QStringLiteral("its line 2 is not a count line (\"3 Files, 1 Folders, "
                                      "1,234 Bytes\"), so it is not a saved folder listing"));
    case ParsedListing::Problem::MissingFields:
        return failure(QStringLiteral("its line %L1 does not hold the seven fields of a row, so "
                                      "it is not a saved folder listing")
                           .arg(parsed.line));
    case ParsedListing::Problem::TooFewLines:
        return failure(QStringLiteral("it holds fewer than two lines, so it is not a saved "
                                      "folder listing"));
    }
    result.listing = std::move(parsed.listing);
    return result;
}

QString proposedListingFile(const QString& pathText, const QString& lastFile, const QString& home)
{
    QString name = QFileInfo(QDir::cleanPath(pathText)).fileName();
    if (name.isEmpty())
        name = QStringLiteral("root");
    // A name is offered as a file name only without control characters or separators.
    for (QChar& c : name)
        if (c.category() == QChar::Other_Control || c == u'/' || c == u'\\')
            c = u'_';
    const QString folder = lastFile.isEmpty() ? home : QFileInfo(lastFile).absolutePath();
    return QDir(folder).filePath(name + QStringLiteral(".tav"));
}

bool saveListingAs(const PaneList& list, const QString& pathText, const QString& countText,
                   Prompts& prompts, SavedListingDialog& dialog)
{
    FileDialogRequest request;
    request.filter = ListingFilter;
    request.initialFile = proposedListingFile(pathText, dialog.fileName, QDir::homePath());
    const std::optional<QString> chosen = prompts.saveFileName(request);
    if (!chosen || chosen->isEmpty())
        return false;
    dialog.fileName = *chosen;

    const SaveListingResult result = writeListingFile(*chosen, pathText, countText, list);
    if (!result.saved) {
        prompts.message(result.error, SaveTitle);
        return false;
    }
    if (result.changedTexts > 0)
        prompts.message(changedTextsMessage(result.changedTexts), SaveTitle);
    return true;
}

std::optional<SavedListing> openListing(Prompts& prompts, SavedListingDialog& dialog,
                                        const SavedListingLimits& limits)
{
    FileDialogRequest request;
    request.filter = ListingFilter;
    request.initialFile = dialog.fileName;
    if (dialog.fileName.isEmpty())
        request.initialFolder = QDir::homePath();
    const std::optional<QString> chosen = prompts.openFileName(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    dialog.fileName = *chosen;

    ReadListingResult result = readListingFile(*chosen, limits);
    if (!result.listing) {
        prompts.message(result.error, OpenTitle);
        return std::nullopt;
    }
    return std::move(result.listing);
}

} // namespace vennic
