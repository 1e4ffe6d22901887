#include "fileops/confirmdelete.h"

#include "platform/prompts.h"

namespace vennic {

const QString ConfirmDelete::Caption = QStringLiteral("Vennic - Confirm Delete");
const QString ConfirmDelete::OKButton = QStringLiteral("OK");
const QString ConfirmDelete::CancelButton = QStringLiteral("Cancel");

bool ConfirmDelete::ask(Prompts& prompts, const QString& question)
{
    return prompts.confirm(Caption, question, OKButton, CancelButton);
}

namespace {

QString filesText(int count)
{
    return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

} // namespace

QString ConfirmDelete::markedFilesQuestion(int count, const QString& folder)
{
    return QStringLiteral("Delete the %1 marked for deletion in %2?\n\nRead-only files are not "
                          "deleted. Deleted files cannot be brought back.")
        .arg(filesText(count), folder);
}

QString ConfirmDelete::allFilesQuestion(int count, int shown, const QString& folder)
{
    QString text = QStringLiteral("Delete all %1 in %2, read-only files included?")
                       .arg(filesText(count), folder);
    if (count > shown)
        text += QStringLiteral("\n\n%1 of them %2 not shown in the list (the filter or \"No "
                               "Files\" hides them) and will be deleted too.")
                    .arg(count - shown)
                    .arg(count - shown == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    text +=
        QStringLiteral("\n\nSub-folders are not touched. Deleted files cannot be brought back.");
    return text;
}

} // namespace vennic
