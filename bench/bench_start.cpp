// Starts the main window in the current folder as the program does and ends at its first
// paint, which comes before the panes are listed: the start-up time, compared with
// bench_emptywindow.
#include "app/mainform.h"
#include "benchsupport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    vennic::MainFormOptions options;
    options.listAfterFirstPaint = true; // as the program starts
    vennic::MainForm form(std::move(options));
    vennic::bench::EndAtFirstPaint firstPaint;
    form.installEventFilter(&firstPaint);
    form.show();
    return app.exec();
}
