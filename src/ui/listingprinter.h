#pragma once

#include "output/listingpages.h"
#include "output/printedlisting.h"
#include "ui/printrun.h"

#include <QFont>
#include <QPointer>
#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace vennic {

class PrinterCanvas;
class PrintPreviewForm;
class Prompts;

/// Gives the printer print jobs go to, or null when the system has none; then the commands
/// print into PDF files the user names. Tests install their own so no test reaches a real
/// printer.
using PrinterProvider = std::function<std::unique_ptr<QPrinter>()>;

/// Lets the user choose the printer, its paper and the copies for `printer` (the system's
/// print set-up dialog over `parent`); true when the choice is to be taken. Tests install
/// their own so no test opens a real dialog.
using PrintSetupDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

/// The print commands of the main window, over one printer object that lives as long as this
/// does and keeps its orientation, font and colour between commands (upright and in the list's
/// font at start). The window passes what the commands read from it as a `PrintedListing` and
/// `PO`'s latched state. With no system printer every print asks for a PDF file name first,
/// and a cancelled dialog prints nothing; printer errors are reported through `Prompts`.
/// A print or preview that takes long shows its progress over the window and can be stopped
/// (`PrintRun`); the commands then return before it ends, and a command given meanwhile is
/// refused.
class ListingPrinter {
public:
    /// `startFont` is the list's font; a default QFont takes the application's font.
    explicit ListingPrinter(PrinterProvider provider = &systemPrinter, QFont startFont = {});
    ~ListingPrinter();
    ListingPrinter(const ListingPrinter&) = delete;
    ListingPrinter& operator=(const ListingPrinter&) = delete;

    /// `PrinBtn`: orientation (landscape when `landscape`), fonts, header and rows.
    void printFull(Prompts& prompts, const PrintedListing& listing, bool landscape);
    /// `M1Print`: the rows alone, in what the last full or small print set.
    void printRows(Prompts& prompts, const PrintedListing& listing);
    /// `PrinSmallBtn` and `M1PrintCompact`: the half-page print in 6-point type.
    void printSmall(Prompts& prompts, const PrintedListing& listing, bool landscape);
    /// `PrinPrevBtn` and `M1PrintPreview`: draws the full print on `PrintPreviewForm`, scaled to
    /// the printer's page, and shows it without making it modal. Never asks for a file.
    PrintPreviewForm* showPreview(const PrintedListing& listing);

    /// "Print Setup...": asks for the printer, paper and copies; every print after a choice
    /// goes straight to it, without asking for a file, as long as this object lives. Refused
    /// while a print is under way; a cancelled dialog changes nothing.
    void printSetup(Prompts& prompts);
    /// The dialog `printSetup` asks with; the system's print dialog at start.
    void setSetupDialog(PrintSetupDialog dialog) { m_setupDialog = std::move(dialog); }
    /// The system's print set-up dialog.
    static bool systemSetupDialog(QPrinter& printer, QWidget* parent);

    /// The printer object, made through the provider on first use.
    PrinterCanvas& canvas();
    /// True when prints go into PDF files because the system has no printer.
    bool printsToPdf();
    /// The preview window, null until the first preview.
    PrintPreviewForm* previewForm() const;
    /// The window the preview belongs to (it stays a window of its own); set before the first
    /// preview.
    void setWindowParent(QWidget* parent) { m_windowParent = parent; }

    /// The system's default printer on the paper it is set up for, or null when there is none.
    static std::unique_ptr<QPrinter> systemPrinter();

    /// How prints and previews pace themselves; tests make the progress show at once.
    void setPacing(PrintPacing pacing) { m_pacing = pacing; }
    /// The print or preview under way, null when none is.
    PrintRun* run() const { return m_run.get(); }

private:
    /// Gets the job's destination ready: with no system printer, asks for the PDF file.
    /// False when the user cancelled.
    bool prepareJob(Prompts& prompts);
    /// Reports what went wrong in the job just ended.
    void reportJob(Prompts& prompts);
    /// True, after saying so, while a print or preview is under way.
    bool refuseWhileRunning(Prompts& prompts);
    /// Starts drawing `listing` in `layout` on `target`; a print reports through `prompts`.
    void startRun(Prompts* prompts, Canvas& target, const PrintedListing& listing,
                  ListingPagesJob::Layout layout, bool landscape);
    /// Ends the job of the run that has just finished, whole or stopped.
    void endRun();
    /// The progress form's line: the page being printed and where it goes.
    QString printDetail();

    PrinterProvider m_provider;
    PrintSetupDialog m_setupDialog = &systemSetupDialog;
    QFont m_startFont;
    std::unique_ptr<PrinterCanvas> m_canvas;
    /// Owned by the window parent when there is one, else by this object.
    QPointer<PrintPreviewForm> m_preview;
    bool m_toPdf = false;
    QString m_lastPdf;
    QWidget* m_windowParent = nullptr;
    PrintPacing m_pacing;
    Prompts* m_runPrompts = nullptr;
    /// Last, so that it goes before the canvas it draws on.
    std::unique_ptr<PrintRun> m_run;
};

} // namespace vennic
