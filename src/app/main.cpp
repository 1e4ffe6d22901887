#include "app/mainform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vennic::MainFormOptions options;
    options.listAfterFirstPaint = true;
    vennic::MainForm form(std::move(options));
    form.show();
    return app.exec();
}
