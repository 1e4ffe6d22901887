#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace vennic {

/// The columns of a pane list. The right list has an eighth column, also headed "Bytes",
/// which shows sub-item 7 (the size text of folder rows).
enum PaneColumn : int {
    ColName = 0,
    ColType,
    ColBytes,
    ColCreated,
    ColAttributes,
    ColAccessed,
    ColModified,
    ColBytes2,
    PaneColumnCount
};

/// Image numbers of the small (16 by 16) and large (32 by 32) image lists.
namespace RowImage {
constexpr uint8_t LargeFile = 1;
constexpr uint8_t LargeFolder = 3; // key "CI2"
constexpr uint8_t SmallFolder = 2;
constexpr uint8_t SmallBlank = 4; // key "CKBLANK", the blank mark
constexpr uint8_t SmallDelete = 7;
constexpr uint8_t SmallClicked = 8;
constexpr uint8_t SmallCopyLeft = 9;
constexpr uint8_t SmallCopyRight = 10;
} // namespace RowImage

/// Colours are 24-bit values in blue-green-red byte order.
namespace RowColor {
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Red = 0x0000FF;
constexpr uint32_t Blue = 0xFF0000;
/// The size cells of a folder whose size covers only part of its tree (dark orange).
constexpr uint32_t PartialSize = 0x0060C0;
} // namespace RowColor

/// The texts of a row that carries its texts instead of raw values (opened from a saved
/// listing, built by a comparison or a command): the main text and sub-items 1 to 7.
struct RowTexts {
    std::array<QString, PaneColumnCount> cells;
};

/// One row of a pane list. A listed row keeps the entry's raw values and its texts are made
/// when asked; a row that carries `texts` shows those instead. Kept small: a pane may hold
/// hundreds of thousands of rows.
struct PaneRow {
    enum Flag : uint16_t {
        Folder = 1,         ///< a folder row (its type text begins with a blank)
        SizeUnknown = 2,    ///< the folder's size could not be read: the size text is ""
        SizePartial = 4,    ///< the size covers the readable parts only (shown in the tool tip)
        NoAccessDates = 8,  ///< Accessed and Modified stay empty (a "CDFS" drive)
        CreatedBlank = 16,  ///< the Created text is " " (a file created at 1 January 1980 00:00:00)
        NoSizeColumn2 = 32, ///< sub-item 7 is not set (file rows)
        /// The entry's own values could not be read: only the name is shown, every other cell
        /// is empty, and its size counts for nothing.
        Unknown = 64,
        /// The folder's size is still being counted: the size text is "" (with SizeUnknown)
        /// until it comes.
        SizePending = 128,
        /// The count was stopped before this folder's tree was walked to its end: the size
        /// covers the parts counted (shown in the tool tip).
        SizeStopped = 256,
        /// The row comes from one stat of its entry: `device` and `inode` say which entry it
        /// is, so a command can tell whether its name still leads to it.
        Identified = 512,
        /// The row stands for no entry (a name the rebuild did not find, a comparison's gap):
        /// no command acts on it, whatever its text says.
        Placeholder = 1024,
        /// The folder's tree is not walked (a symbolic link, or another kind of file system):
        /// its size cell stays empty, as it is no size at all.
        SizeNotWalked = 2048,
    };

    NativeString nativeName; ///< the entry's name as the system spells it; empty for text rows
    int64_t size = 0;
    int64_t created = 0; ///< seconds since the epoch, UTC
    int64_t accessed = 0;
    int64_t modified = 0;
    uint64_t device = 0; ///< with Identified: the entry's device, inode and birth as listed
    uint64_t inode = 0;
    int64_t birth = 0;
    uint32_t attributes = 0;
    uint32_t foreColor = RowColor::Black;
    uint16_t typeIndex = 0; ///< index into the listing's table of type texts
    uint8_t smallImage = RowImage::SmallBlank;
    uint8_t largeImage = RowImage::LargeFile;
    uint16_t flags = 0;
    std::unique_ptr<RowTexts> texts; ///< set for rows that carry their texts
    QString toolTip;

    bool isFolder() const { return flags & Folder; }
    bool isPlaceholder() const { return flags & Placeholder; }
    /// The identity of the entry the row was listed from, when it was.
    std::optional<EntryIdentity> identity() const
    {
        if (!(flags & Identified))
            return std::nullopt;
        return EntryIdentity{device, inode,
                             attributes & (Attr::Directory | Attr::Alias | Attr::System), birth};
    }
    /// Takes the identity of the entry the row is made from, unless its stat failed.
    void identify(const Entry& entry)
    {
        if (entry.statFailed)
            return;
        device = entry.device;
        inode = entry.inode;
        birth = entry.birth;
        flags |= Identified;
    }
    bool hasTexts() const { return texts != nullptr; }
    /// A copy of the row, its texts included. (A field added to the row is added here too.)
    PaneRow copy() const
    {
        PaneRow row;
        row.nativeName = nativeName;
        row.size = size;
        row.created = created;
        row.accessed = accessed;
        row.modified = modified;
        row.device = device;
        row.inode = inode;
        row.birth = birth;
        row.attributes = attributes;
        row.foreColor = foreColor;
        row.typeIndex = typeIndex;
        row.smallImage = smallImage;
        row.largeImage = largeImage;
        row.flags = flags;
        if (texts)
            row.texts = std::make_unique<RowTexts>(*texts);
        row.toolTip = toolTip;
        return row;
    }
};

/// Makes the texts of listed rows from their raw values. The listing owns the one in use; every
/// reader of a row (views, printing, saving, comparison) gets its texts through the pane list.
class RowTextMaker {
public:
    virtual ~RowTextMaker() = default;
    virtual QString cellText(const PaneRow& row, int column) const = 0;
};

} // namespace vennic
