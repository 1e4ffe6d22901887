#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vennic {

/// What an open or save file dialog shows.
struct FileDialogRequest {
    QString title;
    QString filter;        ///< such as "Folder listing |*.tav"
    QString initialFile;   ///< the file name offered first
    QString initialFolder; ///< the folder shown first
};

/// The questions and messages Vennic puts to the user. Logic asks through this interface; the
/// widget implementation shows real dialogs and tests install a scripted one.
class Prompts {
public:
    virtual ~Prompts() = default;

    /// A message box with an OK button; an empty title shows no title.
    virtual void message(const QString& text, const QString& title = {}) = 0;
    /// A modal question with two buttons; true when the first (such as "OK") is chosen.
    virtual bool confirm(const QString& title, const QString& text, const QString& okText,
                         const QString& cancelText) = 0;
    /// A modal question with a button per answer, the first the default and the last the one
    /// Esc or a close gives; returns the index of the answer chosen. Prompts that cannot ask
    /// give the last answer.
    virtual int choose(const QString& title, const QString& text, const QStringList& answers)
    {
        (void)title;
        (void)text;
        return int(answers.size()) - 1;
    }
    /// The file chosen to open, or nothing when the dialog is cancelled.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    /// The file chosen to save into, or nothing when the dialog is cancelled.
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;
};

} // namespace vennic
