#include "fileops/rowcheck.h"

#include "listing/panelist.h"

#include <chrono>

namespace vennic {

const QString RowCheck::NoLongerThere = QStringLiteral("no longer there, so nothing was done");
const QString RowCheck::ChangedSinceSaved =
    QStringLiteral("changed since the listing was saved (its size or modified time is not the "
                   "one the row shows), so it was left alone");

QString RowCheck::change(const PaneList& rows, int row, const std::optional<Entry>& now) const
{
    // A row with a native name was listed; the act itself checks its entry.
    if (rows.row(row).identity() || !rows.row(row).nativeName.empty())
        return {};
    return change(rows.cellText(row, ColBytes), rows.cellText(row, ColModified), now);
}

QString RowCheck::change(const QString& sizeText, const QString& modifiedText,
                         const std::optional<Entry>& now) const
{
    if (!now)
        return NoLongerThere;
    const int64_t modified =
        std::chrono::floor<std::chrono::seconds>(now->modified.time_since_epoch()).count();
    // The size text is padded with blanks; the padding says nothing of the file.
    const bool sameSize = sizeText.trimmed() == vennic::sizeText(double(now->size)).trimmed();
    const bool sameTime = modifiedText == m_dates.text(modified);
    return sameSize && sameTime ? QString() : ChangedSinceSaved;
}

} // namespace vennic
