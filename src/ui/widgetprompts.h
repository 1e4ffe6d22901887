#pragma once

#include "platform/prompts.h"

#include <QPointer>
#include <QWidget>

namespace vennic {

/// Prompts shown with real dialogs: message boxes and the system's open and save dialogs.
class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr);

    void message(const QString& text, const QString& title = {}) override;
    bool confirm(const QString& title, const QString& text, const QString& okText,
                 const QString& cancelText) override;
    int choose(const QString& title, const QString& text, const QStringList& answers) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;

    /// Turns a filter of "description|pattern" pairs ("Folder listing |*.tav") into the
    /// dialog's form ("Folder listing (*.tav)"); patterns split by ";" are kept as a group.
    static QString dialogFilter(const QString& filter);
    /// The title of a message box: "Vennic", followed by " - " and `title` when one is given,
    /// so every box names the program it comes from.
    static QString boxTitle(const QString& title);

private:
    QPointer<QWidget> m_parent;
};

} // namespace vennic
