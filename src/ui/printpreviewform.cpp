#include "ui/printpreviewform.h"

#include "output/listingpages.h"
#include "output/previewcanvas.h"
#include "shell/twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vennic {

namespace {

/// The grey border around the sheets and between two of them, in pixels.
constexpr int SheetSpacing = 12;

/// One zoom step of the keys, the buttons and one notch of the wheel.
constexpr double ZoomStep = 1.25;

} // namespace

/// The sheets one below the other on grey, each at the zoom; only the sheets in sight are
/// painted, so a long listing's many sheets cost nothing until they are scrolled to.
class PreviewSheetsView : public QWidget {
public:
    PreviewSheetsView(PreviewCanvas& canvas, QWidget* parent) : QWidget(parent), m_canvas(canvas)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void setZoom(double zoom)
    {
        m_zoom = zoom;
        updateSize();
    }

    /// Takes the canvas's sheets as drawn by now.
    void updateSize()
    {
        resize(contentSize());
        update();
    }

    QSize sheetSize() const
    {
        const QSize pixels = m_canvas.pageSize();
        return QSize(std::max(1, int(std::lround(pixels.width() * m_zoom))),
                     std::max(1, int(std::lround(pixels.height() * m_zoom))));
    }

    QRect pageRect(int index) const
    {
        const QSize sheet = sheetSize();
        return QRect(QPoint(SheetSpacing, SheetSpacing + index * (sheet.height() + SheetSpacing)),
                     sheet);
    }

    QSize contentSize() const
    {
        const QSize sheet = sheetSize();
        const int pages = m_canvas.pageCount();
        return QSize(sheet.width() + 2 * SheetSpacing,
                     pages * (sheet.height() + SheetSpacing) + SheetSpacing);
    }

    QSize sizeHint() const override { return contentSize(); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const int step = sheetSize().height() + SheetSpacing;
        const int first = std::max(0, (event->rect().top() - SheetSpacing) / step);
        const int last = std::min(m_canvas.pageCount() - 1, event->rect().bottom() / step);
        for (int index = first; index <= last; ++index) {
            const QRect target = pageRect(index);
            painter.drawImage(target, m_canvas.page(index));
            painter.setPen(palette().color(QPalette::Shadow));
            painter.drawRect(target.adjusted(-1, -1, 0, 0));
        }
    }

private:
    PreviewCanvas& m_canvas;
    double m_zoom = 1;
};

PrintPreviewForm::PrintPreviewForm(QWidget* parent)
    : QWidget(parent, Qt::Window), m_canvas(std::make_unique<PreviewCanvas>())
{
    setWindowTitle(QStringLiteral("Print Preview"));
    setObjectName(QStringLiteral("PrintPreviewForm"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 3, 6, 3);
    const auto addButton = [&](const QString& text, const QString& tip, auto slot) {
        auto* button = new QToolButton(this);
        button->setText(text);
        button->setToolTip(tip);
        button->setAccessibleName(text.simplified().remove(QLatin1Char('&')));
        connect(button, &QToolButton::clicked, this, slot);
        bar->addWidget(button);
        return button;
    };
    addButton(QStringLiteral("Zoom &Out"), QStringLiteral("Smaller (Ctrl+-)"),
              &PrintPreviewForm::zoomOut);
    addButton(QStringLiteral("Zoom &In"), QStringLiteral("Larger (Ctrl++)"),
              &PrintPreviewForm::zoomIn);
    addButton(QStringLiteral("Fit &Width"), QStringLiteral("A sheet as wide as the window"),
              &PrintPreviewForm::fitWidth);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("PageCount"));
    bar->addSpacing(12);
    bar->addWidget(m_countLabel);
    bar->addStretch();
    layout->addLayout(bar);

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PreviewSheetsView(*m_canvas, m_scroll);
    m_scroll->setWidget(m_view);
    m_scroll->viewport()->installEventFilter(this);
    layout->addWidget(m_scroll);

    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &PrintPreviewForm::zoomIn);
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this,
            &PrintPreviewForm::zoomOut);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this,
            &PrintPreviewForm::close);
    updateCountLabel();
}

PrintPreviewForm::~PrintPreviewForm() = default;

void PrintPreviewForm::PrintPreview(const PrintedListing& listing, double scaleWidth,
                                    double scaleHeight)
{
    startSheet(scaleWidth, scaleHeight);
    drawPreviewPage(*m_canvas, listing);
    showSheet();
}

void PrintPreviewForm::startSheet(double scaleWidth, double scaleHeight)
{
    const QSize sheetSize(twipsToPixels(SheetWidthTwips, logicalDpiX()),
                          twipsToPixels(SheetHeightTwips, logicalDpiY()));
    m_canvas->reset(sheetSize, double(std::lround(scaleWidth)), double(std::lround(scaleHeight)));
    m_view->updateSize();

    // The window holds a sheet at its size, kept within the screen; what is left over scrolls.
    if (!isVisible()) {
        QSize windowSize =
            m_view->contentSize() + QSize(m_scroll->verticalScrollBar()->sizeHint().width(), 0);
        windowSize.setHeight(sheetSize.height() + 2 * SheetSpacing + 40);
        if (const QScreen* screen =
                this->screen() ? this->screen() : QGuiApplication::primaryScreen())
            windowSize = windowSize.boundedTo(screen->availableSize() * 0.95);
        resize(windowSize);
    }
}

void PrintPreviewForm::showSheet()
{
    show();
    raise();
    m_view->updateSize();
    updateCountLabel();
}

QImage PrintPreviewForm::sheet() const
{
    return m_canvas->sheet();
}

int PrintPreviewForm::pageCount() const
{
    return m_canvas->pageCount();
}

void PrintPreviewForm::setZoom(double zoom)
{
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    if (zoom == m_zoom)
        return;
    // The point at the middle of the view stays where it is.
    QScrollBar* vertical = m_scroll->verticalScrollBar();
    QScrollBar* horizontal = m_scroll->horizontalScrollBar();
    const double middleY = (vertical->value() + m_scroll->viewport()->height() / 2.0) / m_zoom;
    const double middleX = (horizontal->value() + m_scroll->viewport()->width() / 2.0) / m_zoom;
    m_zoom = zoom;
    m_view->setZoom(zoom);
    vertical->setValue(int(std::lround(middleY * zoom - m_scroll->viewport()->height() / 2.0)));
    horizontal->setValue(int(std::lround(middleX * zoom - m_scroll->viewport()->width() / 2.0)));
}

void PrintPreviewForm::zoomIn()
{
    setZoom(m_zoom * ZoomStep);
}

void PrintPreviewForm::zoomOut()
{
    setZoom(m_zoom / ZoomStep);
}

void PrintPreviewForm::fitWidth()
{
    const int room = m_scroll->viewport()->width() - 2 * SheetSpacing -
                     (m_scroll->verticalScrollBar()->isVisible()
                          ? 0
                          : style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    setZoom(double(std::max(1, room)) / m_canvas->pageSize().width());
}

void PrintPreviewForm::scrollToPage(int index)
{
    m_scroll->verticalScrollBar()->setValue(pageRect(index).top() - SheetSpacing);
}

QRect PrintPreviewForm::pageRect(int index) const
{
    return m_view->pageRect(index);
}

bool PrintPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // A notch is 120; a touchpad sends parts of one.
            setZoom(m_zoom * std::pow(ZoomStep, wheel->angleDelta().y() / 120.0));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PrintPreviewForm::updateCountLabel()
{
    const int pages = m_canvas->pageCount();
    m_countLabel->setText(pages == 1 ? QStringLiteral("1 page")
                                     : QStringLiteral("%1 pages").arg(pages));
}

} // namespace vennic
