#include "ui/sizingstrip.h"

#include "listing/controlchars.h"
#include "listing/listingtexts.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vennic {

SizingStrip::SizingStrip(QWidget* parent, DetailPlace place) : QWidget(parent)
{
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(true);
    m_bar->setFormat(QString());
    const int widest = fontMetrics().horizontalAdvance(QStringLiteral("000000 of 000000")) + 16;
    m_detail = new QLabel(this);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setToolTip(QStringLiteral("Stop counting folder sizes (Esc)"));
    m_stop->setFocusPolicy(Qt::TabFocus);
    m_stop->setAutoDefault(false);
    if (place == DetailPlace::Beside) {
        m_bar->setMaximumWidth(widest);
        m_bar->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00 of 00")) + 12);
        layout->addWidget(m_bar);
        layout->addWidget(m_detail, 1);
        layout->addWidget(m_stop);
        setLayout(layout);
    } else {
        m_bar->setMinimumWidth(widest);
        m_detail->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
        layout->addWidget(m_bar, 1);
        layout->addWidget(m_stop);
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, 0, 0);
        column->addLayout(layout);
        column->addWidget(m_detail);
    }
    connect(m_stop, &QPushButton::clicked, this, &SizingStrip::stopClicked);
}

void SizingStrip::setProgress(int64_t foldersDone, int64_t folders, double bytes,
                              const QString& walking)
{
    QString detail = numberText(bytes) + QStringLiteral(" Bytes so far");
    if (!walking.isEmpty())
        detail += QStringLiteral(", counting ") + withVisibleControls(walking);
    showProgress(foldersDone, folders, QStringLiteral("%1 of %2").arg(foldersDone).arg(folders),
                 detail);
}

void SizingStrip::showProgress(int64_t done, int64_t total, const QString& barText,
                               const QString& detail)
{
    // A huge count is scaled so it fits the bar's int range.
    const int64_t scale = total > 1000000 ? total / 1000000 + 1 : 1;
    m_bar->setMaximum(int(std::max<int64_t>(1, total / scale)));
    m_bar->setValue(int(std::min(done, total) / scale));
    m_bar->setFormat(barText);
    // The bar grows to hold its text whole ("1,000,000 entries").
    const int textWidth = fontMetrics().horizontalAdvance(barText) + 16;
    if (textWidth > m_bar->minimumWidth())
        m_bar->setMinimumWidth(std::min(textWidth, m_bar->maximumWidth() * 3 / 2));
    if (m_bar->minimumWidth() > m_bar->maximumWidth())
        m_bar->setMaximumWidth(m_bar->minimumWidth());
    m_detailText = detail;
    showDetail();
}

void SizingStrip::setStopToolTip(const QString& text)
{
    m_stop->setToolTip(text);
}

double SizingStrip::barFraction() const
{
    return double(m_bar->value() - m_bar->minimum()) / (m_bar->maximum() - m_bar->minimum());
}

QString SizingStrip::barText() const
{
    return m_bar->text();
}

QString SizingStrip::detailText() const
{
    return m_detailText;
}

void SizingStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showDetail();
}

void SizingStrip::showDetail()
{
    // A long folder name is cut at its end; the bytes before it stay readable.
    m_detail->setText(
        m_detail->fontMetrics().elidedText(m_detailText, Qt::ElideRight, m_detail->width()));
    m_detail->setToolTip(m_detailText);
}

} // namespace vennic
