#pragma once

#include "platform/fserror.h"

#include <QString>

#include <vector>

namespace vennic {

/// The files a command could not handle, each with its reason. A copy or delete goes on past a
/// failed file and reports them all together in one message when it ends.
class FailureList {
public:
    struct Failure {
        QString name;
        QString reason;
    };

    void add(const QString& name, const QString& reason);
    /// The reason of a file-system error: its description immediately followed by its number,
    /// then the system's own reason when there is one ("Permission denied70: ...").
    void add(const QString& name, const FsError& error);

    bool empty() const { return m_failures.empty(); }
    int count() const { return int(m_failures.size()); }
    const std::vector<Failure>& failures() const { return m_failures; }
    /// The names in the order they failed.
    QStringList names() const;

    /// One message: `heading`, then a line per failure. A very long list names the first
    /// failures and says how many more there were, so the message box stays on the screen.
    QString message(const QString& heading) const;

    static constexpr int MaxLines = 25;

private:
    std::vector<Failure> m_failures;
};

} // namespace vennic
