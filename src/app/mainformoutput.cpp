// The main window's saved-listing and print commands: each reads the active pane and hands it
// to the output code.
#include "app/mainform.h"

#include "listing/controlchars.h"
#include "listing/panelist.h"
#include "platform/pathrules.h"
#include "ui/imagelists.h"
#include "ui/panelistview.h"
#include "ui/printerformatfrm.h"
#include "ui/tavbutton.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vennic {

void MainForm::connectOutput()
{
    connect(M1Save, &QAction::triggered, this, &MainForm::M1Save_Click);
    connect(M1Open, &QAction::triggered, this, &MainForm::M1Open_Click);
    connect(PrinBtn, &QPushButton::clicked, this, &MainForm::PrinBtn_Click);
    connect(M1Print, &QAction::triggered, this, &MainForm::M1Print_Click);
    connect(PrinSmallBtn, &QPushButton::clicked, this, &MainForm::PrinSmallBtn_Click);
    connect(M1PrintCompact, &QAction::triggered, this, &MainForm::M1PrintCompact_Click);
    connect(PrinPrevBtn, &QPushButton::clicked, this, &MainForm::PrinPrevBtn_Click);
    connect(M1PrintPreview, &QAction::triggered, this, &MainForm::M1PrintPreview_Click);
    connect(M1PrintSetup, &QAction::triggered, this, &MainForm::M1PrintSetup_Click);
    connect(M1PrinterFormat, &QAction::triggered, this, &MainForm::M1PrinterFormat_Click);
}

void MainForm::M1Save_Click()
{
    if (sizingOrSay({ActivePane}))
        return;
    const auto pane = size_t(ActivePane);
    // The path line names the rows' folder even while the box holds an edit not yet listed:
    // opened again, the rows must not belong to another folder.
    saveListingAs(*LV1Rows[pane], rowsPathText(ActivePane), LVFC[pane]->text(), prompts(), CD);
}

void MainForm::M1Open_Click()
{
    const auto pane = size_t(ActivePane);
    std::optional<SavedListing> listing = openListing(prompts(), CD);
    if (!listing)
        return;
    // The rows carry texts only and the pane's folder objects stay as they were. The path box
    // shows the saved text, control characters as visible marks; the rows belong to the folder
    // it names only when it is a full path that holds none.
    // The pane's rows are replaced, so a count of its folder sizes has nothing left to fill.
    endPaneSizing(ActivePane);
    LVPATH[pane]->setText(withVisibleControls(listing->pathText));
    clearPaneNativePath(ActivePane);
    LVFC[pane]->setText(withVisibleControls(listing->countText));
    LV1Rows[pane]->setRows(std::move(listing->rows));
    PaneListed[pane] = false;
    PaneRowsFolder[pane].set(savedListingIdentity(listing->pathText), LVPATH[pane]->text());
    markSavedListing(ActivePane, CD.fileName);
}

std::optional<FolderIdentity> MainForm::savedListingIdentity(const QString& pathLine)
{
    // The folder the path line names now is the folder the rows belong to from here on:
    // commands check later that it is still the same one.
    const std::optional<NativeString> path = savedListingFolder(pathLine, PathRules());
    if (!path)
        return std::nullopt;
    try {
        FolderIdentity identity = newFileSystem()->GetFolder(*path)->Identity();
        identity.path = *path;
        return identity;
    } catch (const FsError&) {
        return std::nullopt;
    }
}

ListingPrinter& MainForm::printer()
{
    if (!m_printer) {
        m_printer =
            std::make_unique<ListingPrinter>(&ListingPrinter::systemPrinter, LV1[0]->font());
        m_printer->setWindowParent(this);
    }
    return *m_printer;
}

void MainForm::setPrinterProvider(PrinterProvider provider)
{
    m_printer = std::make_unique<ListingPrinter>(std::move(provider), LV1[0]->font());
    m_printer->setWindowParent(this);
}

PrintedListing MainForm::printedListing() const
{
    const auto pane = size_t(ActivePane);
    PrintedListing listing;
    listing.rows = LV1Rows[pane];
    listing.path = rowsPathText(ActivePane);
    listing.count = LVFC[pane]->text();
    listing.fontName = LV1[pane]->font().family();
    listing.fontSize = LV1[pane]->font().pointSizeF();
    return listing;
}

void MainForm::PrinBtn_Click()
{
    if (sizingOrSay({ActivePane}))
        return;
    printer().printFull(prompts(), printedListing(), PO->Latched());
}

void MainForm::M1Print_Click()
{
    if (sizingOrSay({ActivePane}))
        return;
    printer().printRows(prompts(), printedListing());
}

void MainForm::PrinSmallBtn_Click()
{
    if (sizingOrSay({ActivePane}))
        return;
    printer().printSmall(prompts(), printedListing(), PO->Latched());
}

void MainForm::M1PrintCompact_Click()
{
    PrinSmallBtn_Click();
}

void MainForm::PrinPrevBtn_Click()
{
    if (sizingOrSay({ActivePane}))
        return;
    printer().showPreview(printedListing());
}

void MainForm::M1PrintPreview_Click()
{
    PrinPrevBtn_Click();
}

void MainForm::M1PrintSetup_Click()
{
    printer().printSetup(prompts());
}

void MainForm::M1PrinterFormat_Click()
{
    if (!m_printerFormat) {
        m_printerFormat = new PrinterFormatFrm(this);
        m_printerFormat->setPO(PO);
    }
    m_printerFormat->show();
    m_printerFormat->raise();
}

} // namespace vennic
