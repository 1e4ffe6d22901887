#pragma once

#include "platform/prompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

namespace vennic::test {

/// A Prompts that records every message and answers from a script, so no test ever waits on a
/// dialog. Unscripted confirmations answer "Cancel" and unscripted file dialogs are cancelled.
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString kind; ///< "message", "confirm", "choose", "open" or "save"
        QString title;
        QString text;
    };

    void message(const QString& text, const QString& title = {}) override;
    bool confirm(const QString& title, const QString& text, const QString& okText,
                 const QString& cancelText) override;
    /// Gives the next scripted choice; unscripted, the last answer (the one Esc gives).
    int choose(const QString& title, const QString& text, const QStringList& answers) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;

    void answerConfirm(bool ok) { m_confirms.push_back(ok); }
    void answerChoice(int index) { m_choices.push_back(index); }
    /// Runs `act` while the next confirmation or choice is open, before it is answered: what
    /// another process does while the user reads the question.
    void duringNextQuestion(std::function<void()> act) { m_during.push_back(std::move(act)); }
    void answerFile(std::optional<QString> file) { m_files.push_back(std::move(file)); }

    /// The texts of the message boxes shown, in order.
    QStringList messages() const;
    const std::deque<Shown>& shown() const { return m_shown; }
    const std::deque<FileDialogRequest>& fileRequests() const { return m_requests; }
    void clear() { m_shown.clear(); }

private:
    /// Runs what was to happen during the question now being asked.
    void runDuring();
    /// Records an open or save dialog and gives the next scripted file, if any.
    std::optional<QString> fileDialog(const QString& kind, const FileDialogRequest& request);

    std::deque<Shown> m_shown;
    std::deque<bool> m_confirms;
    std::deque<int> m_choices;
    std::deque<std::function<void()>> m_during;
    std::deque<std::optional<QString>> m_files;
    std::deque<FileDialogRequest> m_requests;
};

} // namespace vennic::test
