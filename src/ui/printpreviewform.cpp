#include "ui/printpreviewform.h"

#include "output/listingpages.h"
#include "output/previewcanvas.h"
#include "shell/twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

namespace vennic {

PrintPreviewForm::PrintPreviewForm(QWidget* parent)
    : QWidget(parent, Qt::Window), m_canvas(std::make_unique<PreviewCanvas>())
{
    setWindowTitle(QStringLiteral("Print Preview"));
    setObjectName(QStringLiteral("PrintPreviewForm"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sheetLabel = new QLabel(m_scroll);
    m_sheetLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setWidget(m_sheetLabel);
    layout->addWidget(m_scroll);
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

    // The window is the sheet's size, kept within the screen; what is left over scrolls.
    QSize windowSize = sheetSize;
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        windowSize = windowSize.boundedTo(screen->availableSize() * 0.95);
    resize(windowSize);
}

void PrintPreviewForm::showSheet()
{
    show();
    raise();
    const QImage& image = m_canvas->sheet();
    m_sheetLabel->setPixmap(QPixmap::fromImage(image));
    m_sheetLabel->resize(image.size());
}

QImage PrintPreviewForm::sheet() const
{
    return m_canvas->sheet();
}

} // namespace vennic
