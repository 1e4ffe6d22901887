#pragma once

#include "listing/listingtexts.h"
#include "platform/filesystem.h"

#include <QString>

#include <optional>

namespace vennic {

class PaneList;

/// Tells whether the entry a row's name leads to now is the one the row shows, before a
/// command acts on it. A row listed from its entry must be that very entry (the command's own
/// act checks that). A row that carries only its texts, as one of an opened saved listing
/// does, must still show the entry's size and modified time as its texts give them.
class RowCheck {
public:
    /// Why `now` (the entry the row's name leads to, or nothing) is not what row `row` of
    /// `rows` shows; empty when it is, or when the row was listed from the folder.
    QString change(const PaneList& rows, int row, const std::optional<Entry>& now) const;
    /// Why `now` is not the file a saved listing's row shows with these size and modified
    /// texts; empty when it is.
    QString change(const QString& sizeText, const QString& modifiedText,
                   const std::optional<Entry>& now) const;

    static const QString NoLongerThere;
    static const QString ChangedSinceSaved;

private:
    DateTexts m_dates;
};

} // namespace vennic
