#pragma once

#include "output/savedlistingformat.h"

#include <QLatin1String>
#include <QString>

#include <optional>

namespace vennic {

class PaneList;
class Prompts;

/// The file dialog filter of "Save (as)" and "Open": both name the file type alike.
inline constexpr QLatin1String ListingFilter("Folder listing |*.tav");

/// What the one file dialog of "Save (as)" and "Open" remembers from one use to the next. The
/// window keeps one and hands it to both commands.
struct SavedListingDialog {
    QString fileName; ///< the last file chosen in either command, offered first
};

/// The file "Save (as)" offers for a pane that shows `pathText`: the folder's own name with
/// ".tav" ("root.tav" for a root), in the folder of `lastFile`, or in `home` before any file
/// was chosen.
QString proposedListingFile(const QString& pathText, const QString& lastFile, const QString& home);

/// What writing a listing file came to.
struct SaveListingResult {
    bool saved = false;
    int changedTexts = 0; ///< texts written with "?" for a line break or the separator
    QString error;        ///< why nothing was saved, when `saved` is false
};

/// What reading a listing file came to: the listing, or why there is none.
struct ReadListingResult {
    std::optional<SavedListing> listing;
    QString error;
};

/// Writes a pane's listing to `fileName`, replacing an existing file. The new content goes to
/// a temporary file beside it that is flushed to disk and then renamed over the old one, so a
/// failure (a full disk, a folder or file without write permission) leaves the old file whole
/// and no temporary file behind. Every row is written, however many there are.
SaveListingResult writeListingFile(const QString& fileName, const QString& pathText,
                                   const QString& countText, const PaneList& list);

/// Reads a listing file whole. Only a regular file is read, so a device or a pipe chosen by
/// mistake cannot hang the window, and only within `limits`: a larger file is refused before
/// it is read and one with more rows before they are made. Running out of memory while
/// reading is a failure like the others. Every failure's text names the file.
ReadListingResult readListingFile(const QString& fileName, const SavedListingLimits& limits = {});

/// "Save (as)": asks for a file name (offering the remembered one) and writes the pane's path
/// box text, count label text and rows into it. No extension is added and an existing file is
/// replaced without a question. A cancelled dialog writes nothing. Failures, and texts that
/// had to be changed to keep the file's structure, are told through `prompts`. True when the
/// file was written.
bool saveListingAs(const PaneList& list, const QString& pathText, const QString& countText,
                   Prompts& prompts, SavedListingDialog& dialog);

/// "Open": asks for a file name (offering the remembered one) and reads that file whole,
/// within `limits`. Nothing when the dialog is cancelled or the file cannot be used (also one
/// past the limits, or too large for the memory); the reason has then been
/// told through `prompts` and the pane must be left as it was. Otherwise the caller puts
/// `pathText` into the pane's path box, `countText` into its count label and the rows into its
/// list (one reset); the pane's folder objects stay as they were, and its rows no longer come
/// from a listing of that folder.
std::optional<SavedListing> openListing(Prompts& prompts, SavedListingDialog& dialog,
                                        const SavedListingLimits& limits = {});

} // namespace vennic
