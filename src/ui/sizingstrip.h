#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vennic {

/// The strip that stands over a pane's count line while its folder sizes are counted (a bar
/// of folders done, the bytes counted so far and the folder being walked) or a file command
/// runs, with "Stop".
class SizingStrip : public QWidget {
    Q_OBJECT
public:
    /// Where the line of what is being done stands: between the bar and "Stop", or on a line
    /// of its own below them (the bar then takes the width "Stop" leaves).
    enum class DetailPlace { Beside, Below };

    explicit SizingStrip(QWidget* parent = nullptr, DetailPlace place = DetailPlace::Beside);

    /// Shows how far the count is. `walking` is the name of a folder being walked ("" none).
    void setProgress(int64_t foldersDone, int64_t folders, double bytes, const QString& walking);
    /// Shows how far other long work is: `done` of `total` on the bar with `barText`, and
    /// `detail` beside it.
    void showProgress(int64_t done, int64_t total, const QString& barText, const QString& detail);
    /// What "Stop" says it stops.
    void setStopToolTip(const QString& text);

    /// The texts as shown, for tests: the bar's and the label's.
    QString barText() const;
    QString detailText() const;
    /// How full the bar is, from 0 to 1.
    double barFraction() const;
    QPushButton* stopButton() const { return m_stop; }

Q_SIGNALS:
    void stopClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showDetail();

    QProgressBar* m_bar = nullptr;
    QLabel* m_detail = nullptr;
    QPushButton* m_stop = nullptr;
    QString m_detailText;
};

} // namespace vennic
