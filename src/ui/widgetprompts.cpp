#include "ui/widgetprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace vennic {

namespace {

QString startPath(const FileDialogRequest& request)
{
    if (request.initialFolder.isEmpty())
        return request.initialFile;
    if (request.initialFile.isEmpty())
        return request.initialFolder;
    return QDir(request.initialFolder).filePath(request.initialFile);
}

} // namespace

WidgetPrompts::WidgetPrompts(QWidget* parent) : m_parent(parent) {}

void WidgetPrompts::message(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, boxTitle(title), text, QMessageBox::Ok, m_parent);
    // Messages quote names and saved texts, which are shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool WidgetPrompts::confirm(const QString& title, const QString& text, const QString& okText,
                            const QString& cancelText)
{
    QMessageBox box(QMessageBox::Question, boxTitle(title), text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok =
        box.addButton(okText.isEmpty() ? QStringLiteral("OK") : okText, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(
        cancelText.isEmpty() ? QStringLiteral("Cancel") : cancelText, QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

int WidgetPrompts::choose(const QString& title, const QString& text, const QStringList& answers)
{
    QMessageBox box(QMessageBox::Question, boxTitle(title), text, QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> buttons;
    for (const QString& answer : answers)
        buttons.push_back(box.addButton(answer, QMessageBox::ActionRole));
    if (buttons.empty())
        return -1;
    box.setDefaultButton(buttons.front());
    box.setEscapeButton(buttons.back());
    box.exec();
    const auto chosen = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return chosen == buttons.end() ? int(buttons.size()) - 1 : int(chosen - buttons.begin());
}

std::optional<QString> WidgetPrompts::openFileName(const FileDialogRequest& request)
{
    const QString file = QFileDialog::getOpenFileName(m_parent, request.title, startPath(request),
                                                      dialogFilter(request.filter));
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> WidgetPrompts::saveFileName(const FileDialogRequest& request)
{
    const QString file = QFileDialog::getSaveFileName(m_parent, request.title, startPath(request),
                                                      dialogFilter(request.filter));
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

QString WidgetPrompts::boxTitle(const QString& title)
{
    const QString program = QStringLiteral("Vennic");
    if (title.isEmpty() || title == program || title.startsWith(program + QStringLiteral(" - ")))
        return title.isEmpty() ? program : title;
    return program + QStringLiteral(" - ") + title;
}

QString WidgetPrompts::dialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i].trimmed() + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    if (filters.isEmpty() && !filter.trimmed().isEmpty())
        filters << filter.trimmed();
    return filters.join(QLatin1String(";;"));
}

} // namespace vennic
