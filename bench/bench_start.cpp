// Starts the main window in the current folder and exits once both panes are listed and the
// window has painted: the start-up time from exec, compared with bench_emptywindow.
#include "app/mainform.h"
#include "benchsupport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    vennic::MainForm form; // lists both panes while it loads
    vennic::bench::QuitAtFirstPaint firstPaint;
    form.installEventFilter(&firstPaint);
    form.show();
    return app.exec();
}
