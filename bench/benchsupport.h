#pragma once

// Pieces the benchmark programs share.

#include "platform/prompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace vennic::bench {

/// Prints messages instead of showing them and answers every question with "Cancel".
class ConsolePrompts : public Prompts {
public:
    void message(const QString& text, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool confirm(const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }
    std::optional<QString> openFileName(const FileDialogRequest&) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogRequest&) override { return {}; }
};

/// Quits the application after the first paint of the object it watches.
class QuitAtFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    bool m_painted = false;
};

/// Ends the process at the first paint of the object it watches, before anything the paint
/// sets going can run: the time of a process measured this way is its time to first paint.
class EndAtFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            std::fflush(nullptr);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace vennic::bench
