// Starts the main window in the current folder and exits once both panes are listed and the
// window has painted: the start-up time from exec, compared with bench_emptywindow.
#include "app/mainform.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace {

/// Quits at the first paint of the window.
class FirstPaint : public QObject {
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

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    vennic::MainForm form; // lists both panes while it loads
    FirstPaint firstPaint;
    form.installEventFilter(&firstPaint);
    form.show();
    return app.exec();
}
