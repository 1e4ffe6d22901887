#pragma once

#include <QMainWindow>

namespace vennic {

/// The main window (placeholder until the panes are built).
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
};

} // namespace vennic
