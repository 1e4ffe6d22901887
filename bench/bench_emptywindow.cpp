// An empty Qt window that ends at its first paint: the baseline for bench_start.
// With --label the window shows one line of text, so the baseline includes the font set-up
// that every window with text pays once.
#include "benchsupport.h"
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(800, 600);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--label"))
        window.setCentralWidget(new QLabel(QStringLiteral("Vennic"), &window));
    vennic::bench::EndAtFirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
