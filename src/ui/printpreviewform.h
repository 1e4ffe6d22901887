#pragma once

#include "output/printedlisting.h"

#include <QWidget>

#include <memory>

class QLabel;
class QScrollArea;

namespace vennic {

class PreviewCanvas;
class PreviewSheetsView;

/// The "Print Preview" window: upright letter-size sheets, 12,240 by 15,840 twips each, whose
/// drawing area is given the printer's page size as its scale, with the full print drawn on
/// them, one sheet for each page the printer would print, one below the other. It is not
/// modal and stays open until the user closes it (Esc closes it too). Each preview clears the
/// sheets first, so a second preview replaces the first. The sheets scroll; Ctrl with the
/// wheel, Ctrl++ and Ctrl+- zoom, and "Fit Width" makes a sheet as wide as the window.
class PrintPreviewForm : public QWidget {
    Q_OBJECT
public:
    static constexpr double SheetWidthTwips = 12240;
    static constexpr double SheetHeightTwips = 15840;
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 4;

    explicit PrintPreviewForm(QWidget* parent = nullptr);
    ~PrintPreviewForm() override;

    /// The whole command: sizes the sheet, gives it the printer's page (`scaleWidth` by
    /// `scaleHeight` twips, each taken as a whole number) as its scale, shows the window,
    /// clears the sheets and draws the listing.
    void PrintPreview(const PrintedListing& listing, double scaleWidth, double scaleHeight);

    /// The command in two halves, for a drawing made a few rows at a time: `startSheet`
    /// sizes the window and gives the cleared sheet its scale, and `showSheet` shows the
    /// window with the sheets as drawn by then.
    void startSheet(double scaleWidth, double scaleHeight);
    void showSheet();

    /// The canvas the sheets are drawn with.
    PreviewCanvas& canvas() { return *m_canvas; }
    /// The first sheet as drawn, in pixels.
    QImage sheet() const;
    /// Sheets shown.
    int pageCount() const;

    /// How large the sheets show: 1 is a sheet's own size in pixels.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    /// Makes a sheet as wide as the window's view.
    void fitWidth();
    /// The scroll area the sheets are in.
    QScrollArea* scrollArea() const { return m_scroll; }
    /// Scrolls so that the top of sheet `index` (from 0) is at the top of the view.
    void scrollToPage(int index);
    /// Where sheet `index` shows inside the scrolled area, in pixels at the current zoom.
    QRect pageRect(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateCountLabel();

    std::unique_ptr<PreviewCanvas> m_canvas;
    QScrollArea* m_scroll = nullptr;
    PreviewSheetsView* m_view = nullptr;
    QLabel* m_countLabel = nullptr;
    double m_zoom = 1;
};

} // namespace vennic
