#pragma once

#include <QDialog>

class QPushButton;

namespace vennic {

class SizingStrip;

/// The small window that stands over the main window while a long print or preview is made:
/// a bar of rows done of all rows, a line of what is being made, and "Stop", as the strip of
/// a folder-size count has them. It keeps the rest of the window from being used meanwhile,
/// so the rows being printed cannot change; Esc or closing it asks to stop as "Stop" does.
class PrintProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit PrintProgressForm(QWidget* parent, const QString& title);

    /// Shows how far the work is.
    void setProgress(int rowsDone, int rows, const QString& detail);

    /// The texts as shown, for tests: the bar's and the label's.
    QString barText() const;
    QString detailText() const;
    QPushButton* stopButton() const;

    /// Esc and the window's close button stop the work.
    void reject() override;

Q_SIGNALS:
    void stopClicked();

private:
    SizingStrip* m_strip = nullptr;
};

} // namespace vennic
