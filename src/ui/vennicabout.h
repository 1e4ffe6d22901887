#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vennic {

/// The "About" dialog of the "Help" menu: the program's name, its version and what it does.
class VennicAbout : public QDialog {
    Q_OBJECT
public:
    explicit VennicAbout(QWidget* parent = nullptr);

    /// The version the build was made from.
    static QString version();

    QLabel* ProgramName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Description = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace vennic
