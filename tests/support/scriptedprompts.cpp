#include "support/scriptedprompts.h"

namespace vennic::test {

void ScriptedPrompts::message(const QString& text, const QString& title)
{
    m_shown.push_back({QStringLiteral("message"), title, text});
}

bool ScriptedPrompts::confirm(const QString& title, const QString& text, const QString&,
                              const QString&)
{
    m_shown.push_back({QStringLiteral("confirm"), title, text});
    runDuring();
    if (m_confirms.empty())
        return false;
    const bool ok = m_confirms.front();
    m_confirms.pop_front();
    return ok;
}

int ScriptedPrompts::choose(const QString& title, const QString& text, const QStringList& answers)
{
    m_shown.push_back({QStringLiteral("choose"), title, text});
    runDuring();
    if (m_choices.empty())
        return int(answers.size()) - 1;
    const int chosen = m_choices.front();
    m_choices.pop_front();
    return chosen;
}

void ScriptedPrompts::runDuring()
{
    if (m_during.empty())
        return;
    const std::function<void()> act = std::move(m_during.front());
    m_during.pop_front();
    act();
}

std::optional<QString> ScriptedPrompts::openFileName(const FileDialogRequest& request)
{
    return fileDialog(QStringLiteral("open"), request);
}

std::optional<QString> ScriptedPrompts::saveFileName(const FileDialogRequest& request)
{
    return fileDialog(QStringLiteral("save"), request);
}

std::optional<QString> ScriptedPrompts::fileDialog(const QString& kind,
                                                   const FileDialogRequest& request)
{
    m_shown.push_back({kind, request.title, request.filter});
    m_requests.push_back(request);
    if (m_files.empty())
        return std::nullopt;
    auto file = m_files.front();
    m_files.pop_front();
    return file;
}

QStringList ScriptedPrompts::messages() const
{
    QStringList texts;
    for (const auto& s : m_shown)
        if (s.kind == QLatin1String("message"))
            texts << s.text;
    return texts;
}

} // namespace vennic::test
