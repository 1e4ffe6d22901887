#pragma once

#include "output/listingpages.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>

class QWidget;

namespace vennic {

class PrintProgressForm;

/// How a print or preview paces itself.
struct PrintPacing {
    /// Work that ends sooner shows no progress at all; it runs in one go.
    std::chrono::milliseconds progressDelay{500};
    /// How long the drawing goes on before the window's events are seen to again.
    std::chrono::milliseconds slice{40};
};

/// Makes one print or preview of a listing on the window's thread, a slice of rows at a time
/// between the window's events, so that the window is painted and "Stop" is heard while it
/// runs. Work that outlasts the pacing's delay shows a `PrintProgressForm` until it ends.
/// Drawing stays on the window's thread because the rows' texts are made there, on demand, by
/// objects that are not shared with other threads. The run also stops itself when the rows it
/// prints change under it.
class PrintRun : public QObject {
    Q_OBJECT
public:
    /// `detail` gives the progress form's line of what is being made (the page, the file).
    PrintRun(ListingPagesJob job, QWidget* window, const QString& title,
             std::function<QString()> detail, PrintPacing pacing);
    ~PrintRun() override;

    /// Draws until the delay has passed; what is left goes on from the event loop.
    void start();
    /// Asks the run to end after the row being drawn; `finished` comes then.
    void stop();

    bool running() const { return m_running; }
    /// True when the run ended before its last row: asked to, or because its rows changed.
    bool stopped() const { return m_stopped; }
    /// True when it was stopped because its rows changed.
    bool rowsChanged() const { return m_rowsChanged; }
    const ListingPagesJob& job() const { return m_job; }
    /// The progress form while it is shown, else null.
    PrintProgressForm* progressForm() const;

Q_SIGNALS:
    /// The progress form was brought up to date.
    void progressed();
    /// The run has ended, whole or stopped.
    void finished();

private:
    void nextSlice();
    void showProgress();
    void finish(bool stopped);

    ListingPagesJob m_job;
    QPointer<QWidget> m_window;
    QString m_title;
    std::function<QString()> m_detail;
    PrintPacing m_pacing;
    QPointer<PrintProgressForm> m_form;
    bool m_running = false;
    bool m_stopped = false;
    bool m_rowsChanged = false;
};

} // namespace vennic
