#include "app/commandline.h"
#include "app/mainform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Help, the version and a mistyped command line answer on the terminal, with no window.
    const vennic::CommandLine line = vennic::CommandLine::parse(argc, argv);
    if (line.action != vennic::CommandLine::Action::Run) {
        const bool error = line.action == vennic::CommandLine::Action::Error;
        std::fputs(line.text.toLocal8Bit().constData(), error ? stderr : stdout);
        return error ? 2 : 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(VENNIC_VERSION));
    vennic::MainFormOptions options;
    options.listAfterFirstPaint = true;
    options.startFolders = line.folders;
    vennic::MainForm form(std::move(options));
    form.show();
    return app.exec();
}
