#include "fileops/rightpanerebuild.h"

#include "fileops/foldercomparison.h"
#include "listing/getlisting.h"
#include "listing/listingtexts.h"
#include "listing/listinteraction.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
#include "listing/typenames.h"
#include "platform/pathrules.h"

#include <memory>
#include <optional>
#include <unordered_map>

namespace vennic {

namespace {

PaneRow textRow(const QString& name)
{
    PaneRow row;
    row.largeImage = RowImage::LargeFile;
    row.smallImage = RowImage::SmallBlank;
    row.texts = std::make_unique<RowTexts>();
    row.texts->cells[ColName] = name;
    return row;
}

/// The row of a left name the right folder does not hold: it names nothing there.
PaneRow placeholderRow()
{
    PaneRow row = textRow(QStringLiteral("--"));
    row.flags = PaneRow::Placeholder;
    return row;
}

} // namespace

RebuildResult rebuildFromNames(const PaneList& left, const Folder& rightFolder, TypeNames& types,
                               const PathRules& rules)
{
    const std::vector<Entry> folders = rightFolder.SubFolders();
    const std::vector<Entry> files = rightFolder.Files();
    std::unordered_map<NativeString, const Entry*> byName;
    byName.reserve(folders.size() + files.size());
    for (const Entry& entry : folders)
        byName.emplace(entry.name, &entry);
    for (const Entry& entry : files)
        byName.emplace(entry.name, &entry);

    RebuildResult result;
    result.rows.reserve(size_t(left.rowCount()));
    // Found folders are sized together afterwards, in parallel, as a listing sizes them.
    std::vector<Entry> foundFolders;
    std::vector<size_t> foundFolderRows;
    int64_t fileCount = 0;
    double total = 0;

    for (int i = 0; i < left.rowCount(); ++i) {
        const QString text = left.cellText(i, ColName);
        // A comparison's blank row names nothing (a file really named " " has a native name).
        if (text == QLatin1String(" ") && left.row(i).nativeName.empty()) {
            result.rows.push_back(blankComparisonRow());
            continue;
        }
        const std::optional<NativeString> name = rowEntryName(left.row(i), text, rules);
        if (!name) {
            result.skipped << text;
            result.rows.push_back(placeholderRow());
            continue;
        }
        const auto found = byName.find(*name);
        if (found == byName.end()) {
            result.rows.push_back(placeholderRow());
            continue;
        }
        const Entry& entry = *found->second;
        PaneRow row = textRow(nativeToQString(entry.name));
        row.nativeName = entry.name;
        row.attributes = entry.attributes;
        if (entry.isFolder) {
            row.flags = PaneRow::Folder;
            row.largeImage = RowImage::LargeFolder;
            row.smallImage = RowImage::SmallFolder;
            row.foreColor = RowColor::Blue;
            row.typeIndex = TypeNames::FolderIndex;
            row.texts->cells[ColType] = QLatin1Char(' ') + types.text(TypeNames::FolderIndex);
            foundFolders.push_back(entry);
            foundFolderRows.push_back(result.rows.size());
        } else {
            row.flags = PaneRow::NoSizeColumn2;
            row.typeIndex = types.indexOf(entry.name);
            row.texts->cells[ColType] = types.text(row.typeIndex);
            ++fileCount;
            // A file that could not be looked at has no size to show or count.
            if (entry.statFailed) {
                row.flags |= PaneRow::SizeUnknown;
                row.attributes = 0;
                result.rows.push_back(std::move(row));
                continue;
            }
            row.size = entry.size;
            row.texts->cells[ColBytes] = sizeText(double(entry.size));
            if (entry.attributes & Attr::Compressed)
                row.foreColor = RowColor::Blue;
            total += double(entry.size);
        }
        row.identify(entry);
        result.rows.push_back(std::move(row));
    }

    std::vector<FolderSize> sizes;
    if (!foundFolders.empty()) {
        try {
            sizes = rightFolder.SubFolderSizes(foundFolders);
        } catch (const FsError&) {
            sizes.clear();
        }
    }
    for (size_t f = 0; f < foundFolderRows.size(); ++f) {
        PaneRow& row = result.rows[foundFolderRows[f]];
        // A size that cannot be read stays empty and adds nothing.
        if (f < sizes.size() && sizes[f].known()) {
            row.size = sizes[f].bytes;
            row.texts->cells[ColBytes] = sizeText(double(row.size));
            row.texts->cells[ColBytes2] = row.texts->cells[ColBytes];
            total += double(row.size);
        } else {
            row.flags |= PaneRow::SizeUnknown;
        }
    }

    result.countLine = countLineText(fileCount, int64_t(foundFolders.size()), total);
    return result;
}

} // namespace vennic
