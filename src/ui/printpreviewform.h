#pragma once

#include "output/printedlisting.h"

#include <QWidget>

#include <memory>

class QLabel;
class QScrollArea;

namespace vennic {

class PreviewCanvas;

/// The "Print Preview" window: an upright letter-size sheet, 12,240 by 15,840 twips, whose
/// drawing area is given the printer's page size as its scale, with the full print drawn on it.
/// It is not modal and stays open until the user closes it. Each preview clears the sheet
/// first, so a second preview replaces the first. A sheet taller than the screen scrolls.
class PrintPreviewForm : public QWidget {
    Q_OBJECT
public:
    static constexpr double SheetWidthTwips = 12240;
    static constexpr double SheetHeightTwips = 15840;

    explicit PrintPreviewForm(QWidget* parent = nullptr);
    ~PrintPreviewForm() override;

    /// The whole command: sizes the sheet, gives it the printer's page (`scaleWidth` by
    /// `scaleHeight` twips, each taken as a whole number) as its scale, shows the window,
    /// clears the sheet and draws the listing.
    void PrintPreview(const PrintedListing& listing, double scaleWidth, double scaleHeight);

    /// The command in two halves, for a drawing made a few rows at a time: `startSheet`
    /// sizes the window and gives the cleared sheet its scale, and `showSheet` shows the
    /// window with the sheet as drawn by then.
    void startSheet(double scaleWidth, double scaleHeight);
    void showSheet();

    /// The canvas the sheet is drawn with.
    PreviewCanvas& canvas() { return *m_canvas; }
    /// The sheet as drawn, in pixels.
    QImage sheet() const;

private:
    std::unique_ptr<PreviewCanvas> m_canvas;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_sheetLabel = nullptr;
};

} // namespace vennic
