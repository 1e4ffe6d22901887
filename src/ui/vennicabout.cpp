#include "ui/vennicabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vennic {

VennicAbout::VennicAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VennicAbout"));
    setWindowTitle(QStringLiteral("About Vennic"));

    ProgramName = new QLabel(QStringLiteral("Vennic"), this);
    QFont nameFont = ProgramName->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    ProgramName->setFont(nameFont);
    Version = new QLabel(QStringLiteral("Version %1").arg(version()), this);
    Description = new QLabel(QStringLiteral("Two folders side by side: their sub-folders with "
                                            "total sizes and their files, to compare, copy, "
                                            "print and save."),
                             this);
    Description->setWordWrap(true);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {ProgramName, Version, Description}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    layout->addSpacing(8);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setMinimumWidth(360);
}

QString VennicAbout::version()
{
    // Set by the build from the project's version.
    return QStringLiteral(VENNIC_VERSION);
}

} // namespace vennic
