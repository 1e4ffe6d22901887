#include "fileops/failurelist.h"

#include <QStringList>

namespace vennic {

void FailureList::add(const QString& name, const QString& reason)
{
    m_failures.push_back({name, reason});
}

void FailureList::add(const QString& name, const FsError& error)
{
    QString reason = QString::fromStdString(error.shown());
    if (!error.detail().empty())
        reason += QLatin1String(": ") + QString::fromStdString(error.detail());
    add(name, reason);
}

QStringList FailureList::names() const
{
    QStringList names;
    for (const Failure& failure : m_failures)
        names << failure.name;
    return names;
}

QString FailureList::message(const QString& heading) const
{
    QString text = heading;
    const int shown = std::min(count(), MaxLines);
    for (int i = 0; i < shown; ++i) {
        const Failure& failure = m_failures[size_t(i)];
        text += QLatin1Char('\n') + failure.name + QLatin1String(": ") + failure.reason;
    }
    if (count() > shown)
        text += QStringLiteral("\n... and %1 more.").arg(count() - shown);
    return text;
}

} // namespace vennic
