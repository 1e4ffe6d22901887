#include "app/mainform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vennic::MainForm form;
    form.show();
    return app.exec();
}
