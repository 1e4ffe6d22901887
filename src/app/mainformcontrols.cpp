// The controls and menus of MainForm at their design positions; the handlers are in
// mainform.cpp.
#include "app/mainform.h"

#include "listing/listingtexts.h"
#include "listing/rowsort.h"
#include "shell/toolstrip.h"

#include "listing/controlchars.h"
#include "listing/panelist.h"
#include "ui/imagelists.h"
#include "ui/panelistview.h"
#include "ui/tavbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>

namespace vennic {

namespace {

const QColor PathBack(255, 224, 192);
const QColor UpBack(255, 192, 192);
/// The path box and count line of a pane that shows a saved listing, not its folder.
const QColor SavedBack(200, 220, 255);

void setBackColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
}

} // namespace

void MainForm::markSavedListing(int index, const QString& file)
{
    const auto p = size_t(index);
    const bool saved = !file.isEmpty();
    setBackColor(LVPATH[p], QPalette::Base, saved ? SavedBack : PathBack);
    LVFC[p]->setAutoFillBackground(saved);
    setBackColor(LVFC[p], QPalette::Window,
                 saved ? SavedBack : LVFC[p]->parentWidget()->palette().color(QPalette::Window));
    const QString tip =
        saved ? QStringLiteral("Saved listing %1: the rows as they were when it was saved, not "
                               "the folder as it is now. Press Enter in the path box to list "
                               "the folder.")
                    .arg(withVisibleControls(file))
              : QString();
    LVPATH[p]->setToolTip(tip);
    LVFC[p]->setToolTip(tip);
}

void MainForm::createPaneControls(QWidget* client, int index)
{
    const auto pane = size_t(index);
    const double left = index == 0 ? 120 : 3120;

    LV1Rows[pane] = new PaneList(index == 0 ? ColBytes2 : PaneColumnCount, this);
    LV1Rows[pane]->setTextMaker(m_texts);
    LV1Rows[pane]->setHeaderIconProvider(
        [](int icon) { return ImageLists::instance().headerIcon(icon); });
    LV1Rows[pane]->setSorter(&sortOrder);
    // The order turns over on every header click; starting from descending makes the first
    // click sort ascending.
    LV1Rows[pane]->setSortOrder(Qt::DescendingOrder);
    LV1[pane] = new PaneListView(client);
    LV1[pane]->setFont(QApplication::font());
    LV1[pane]->setModel(LV1Rows[pane]);
    placeTwips(LV1[pane], left, 1080, 2895, 1575);
    if (index == 0)
        return; // the rest of pane 0 follows the tool strip in the tab order

    for (int i = 0; i < 2; ++i) {
        const auto p = size_t(i);
        const double x = i == 0 ? 120 : 3120;
        DR1[p] = new QComboBox(client);
        setBackColor(DR1[p], QPalette::Button, PathBack);
        setBackColor(DR1[p], QPalette::Base, PathBack);
        placeTwips(DR1[p], x, 360, PaneLayout::DriveListWidth, 315);

        Up1[p] = new QToolButton(client);
        Up1[p]->setIcon(ImageLists::instance().upArrow());
        Up1[p]->setToolTip(QStringLiteral("Up one level"));
        if (i == 0)
            setBackColor(Up1[p], QPalette::Button, UpBack);
        placeTwips(Up1[p], x + PaneLayout::DriveListWidth + 10, 360, PaneLayout::UpButtonWidth,
                   PaneLayout::UpButtonWidth);

        LVPATH[p] = new QLineEdit(client);
        QFont bold = LVPATH[p]->font();
        bold.setBold(true);
        LVPATH[p]->setFont(bold);
        setBackColor(LVPATH[p], QPalette::Base, PathBack);
        placeTwips(LVPATH[p], x, 720, 2895, 285);
        // A typed path replaces the native one kept from navigation.
        connect(LVPATH[p], &QLineEdit::textEdited, this, [this, p] { m_nativePath[p].reset(); });
        connect(LVPATH[p], &QLineEdit::returnPressed, this, [this, i] { LVPATH_Enter(i); });

        LVFC[p] = new QLabel(client);
        SelFile[p] = new QLabel(client);
        LVDrive[p] = new QLabel(client);
        if (i == 1) {
            SelFile[p]->setAutoFillBackground(true);
            setBackColor(SelFile[p], QPalette::Window, PathBack);
        }
        LVDrive[p]->setToolTip(i == 0 ? QStringLiteral("Click for more drive information.")
                                      : QStringLiteral("Click for more drive information"));
        for (QLabel* label : {LVFC[p], SelFile[p], LVDrive[p]}) {
            label->setTextInteractionFlags(Qt::NoTextInteraction);
            // Names and saved texts are shown as they are, never read as markup.
            label->setTextFormat(Qt::PlainText);
            placeTwips(label, x, 2655, 2895, 255);
        }
    }
}

namespace {

/// The width in pixels a push button needs around its caption: the style's frame and padding.
int pushButtonFrame(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return button.width() - contents.width();
}

} // namespace

void MainForm::createToolControls(QWidget* client)
{
    // Every control of the strip, and beside it its design place in twips. Buttons whose caption is
    // wider than their design width grow to it, and the controls after them in their row move
    // along (ToolStrip); the rest of the window only grows by the design scale.
    std::vector<QWidget*> controls;
    std::vector<StripControl> designs;
    const auto captionTwips = [this](const QFont& font, const QString& text, int frame) {
        return pixelsAsTwips(QFontMetrics(font).horizontalAdvance(text) + frame);
    };

    struct Button {
        QPushButton*& button;
        const char* caption;
        double left, top, width, height;
    };
    const Button buttons[] = {
        {Go1, "Refresh", 600, 0, 735, 375},
        {EndBtn, "End", 120, 0, 495, 375},
        {PrinBtn, "Print", 1320, 0, 495, 375},
        {DelBtn, "Delete", 1800, 0, 615, 375},
        {DelAllBtn, "DA", 2400, 0, 375, 375},
        {CopyBtn, "Copy", 2760, 0, 615, 375},
        {RemBtn, "R", 5280, 0, 375, 375},
        {PrinSmallBtn, "Print Small", 5640, 0, 855, 375},
        {CompFldr, "Comp", 2760, 360, 375, 375},
        {Command1, "Command1", 6720, 360, 495, 315},
        {PrinPrevBtn, "Command2", 8040, 360, 615, 315},
    };
    for (const Button& d : buttons) {
        d.button = new QPushButton(QString::fromLatin1(d.caption), client);
        // The design widths leave room for the caption only with a narrow margin.
        d.button->setStyleSheet(QStringLiteral("padding: 0px 3px;"));
        placeTwips(d.button, d.left, d.top, d.width, d.height);
        controls.push_back(d.button);
        designs.push_back(
            {{float(d.left), float(d.top), float(d.width), float(d.height)},
             captionTwips(d.button->font(), d.button->text(), pushButtonFrame(*d.button))});
    }
    connect(EndBtn, &QPushButton::clicked, this, &MainForm::EndBtn_Click);

    const QFont buttonFont = client->font();
    struct Latching {
        TavButton*& button;
        const char* unlatched;
        const char* latched;
        double left, width;
    };
    const Latching latching[] = {{ShowFoldersBtn, "Folders", "No Folders", 3360, 735},
                                 {ShowFilesBtn, "Files", "No Files", 4080, 495},
                                 {PO, "Portrait", "Landscape", 4560, 735}};
    for (const Latching& d : latching) {
        d.button =
            new TavButton(QString::fromLatin1(d.unlatched), QString::fromLatin1(d.latched), client);
        d.button->setFonts(buttonFont);
        d.button->setBevelWidth(3);
        // Both captions must fit: the outline and the bevel on each side, and a little air.
        const int frame = 2 * (1 + d.button->bevelWidth()) + 6;
        const float caption =
            std::max(captionTwips(buttonFont, d.button->captionUnlatched(), frame),
                     captionTwips(buttonFont, d.button->captionLatched(), frame));
        controls.push_back(d.button);
        designs.push_back({{float(d.left), 0, float(d.width), 375}, caption});
    }

    FEX = new QComboBox(client);
    FEX->setEditable(true);
    FEX->setInsertPolicy(QComboBox::NoInsert);
    FEX->setCompleter(nullptr);
    controls.push_back(FEX);
    designs.push_back({{6480, 0, 1215, 315}});
    connect(FEX, &QComboBox::editTextChanged, this, &MainForm::FEX_Change);
    connect(FEX, &QComboBox::textActivated, this, &MainForm::FEX_Change);

    Frame1 = new QGroupBox(QStringLiteral("File List View"), client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    // The frame is only as tall as a button: its caption sits on the top border, half above
    // it, so the option buttons below keep the room the design gives them.
    const int titleHeight = QFontMetrics(client->font()).height();
    Frame1->setStyleSheet(
        QStringLiteral("QGroupBox#Frame1 { border: 1px solid palette(mid); border-radius: 2px;"
                       " margin-top: %1px; }"
                       "QGroupBox#Frame1::title { subcontrol-origin: margin;"
                       " subcontrol-position: top center; padding: 0px 2px; }")
            .arg(titleHeight / 2));
    controls.push_back(Frame1);
    designs.push_back({{7680, 0, 2295, 375}});
    const double optionLefts[] = {120, 600, 1200, 1680};
    for (size_t i = 0; i < Option1.size(); ++i) {
        Option1[i] = new QRadioButton(QString::number(i + 1), Frame1);
        placeTwips(Option1[i], optionLefts[i], 120, 495, 255);
    }
    Option1[3]->setChecked(true);

    FilterExpression = new QLineEdit(client);
    controls.push_back(FilterExpression);
    designs.push_back({{6000, 360, 735, 285}});
    Text1 = new QLineEdit(QStringLiteral("2"), client);
    controls.push_back(Text1);
    designs.push_back({{7320, 360, 615, 285}});

    m_strip = std::make_shared<const ToolStrip>(std::move(designs));
    const ToolStrip& placed = *m_strip;
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlBox& box = placed.place(i);
        placeTwips(controls[i], box.Left, box.Top, box.Width, box.Height);
    }
    m_stripControls = std::move(controls);
    // The right pane's drive list starts after the strip's second row, which shares its band;
    // a window too narrow for that flows the strip into more rows on its resizes.
    m_rightDriveStart = placed.rowEnd(ToolStrip::RowPitch) + ToolStrip::Margin;
    m_stripWidth =
        std::max(placed.rowEnd(0), placed.rowEnd(ToolStrip::RowPitch)) + ToolStrip::Margin;
}

void MainForm::createMenus()
{
    M1 = menuBar()->addMenu(QStringLiteral("&File"));
    M1Open = M1->addAction(QStringLiteral("&Open"));
    M1Open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    M1Save = M1->addAction(QStringLiteral("&Save (as)"));
    M1Save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    M1Print = M1->addAction(QStringLiteral("&Print"));
    M1Print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    M1PrintCompact = M1->addAction(QStringLiteral("Print &Compact"));
    M1PrintPreview = M1->addAction(QStringLiteral("Print Pre&view"));
    M1PrintSetup = M1->addAction(QStringLiteral("Print Set&up..."));
    M1PrinterFormat = M1->addAction(QStringLiteral("Printer &Format"));
    M1->addSeparator();
    M1Exit = M1->addAction(QStringLiteral("E&xit"));
    connect(M1Exit, &QAction::triggered, this, &MainForm::M1Exit_Click);

    mView = menuBar()->addMenu(QStringLiteral("&View"));
    mDDPanel = mView->addAction(QStringLiteral("&DD Panel"));
    connect(mDDPanel, &QAction::triggered, this, &MainForm::mDDPanel_Click);
    // The keyboard's way to the drive information a click on the drive line opens.
    mDriveInfo = mView->addAction(QStringLiteral("Drive &Information"));
    mDriveInfo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(mDriveInfo, &QAction::triggered, this,
            [this] { LVDrive_Click(ActivePane == 1 ? 1 : 0); });
    // The keyboard's way to sort: each item acts on the active pane as a header click does.
    mSortBy = mView->addMenu(QStringLiteral("&Sort by"));
    const char* const columns[] = {"&Name",       "&Type",     "&Bytes",   "&Created",
                                   "A&ttributes", "&Accessed", "&Modified"};
    for (int column = 0; column < int(std::size(columns)); ++column)
        connect(mSortBy->addAction(QString::fromLatin1(columns[column])), &QAction::triggered, this,
                [this, column] { LV1_ColumnClick(ActivePane, column); });

    mHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mAbout = mHelp->addAction(QStringLiteral("&About"));

    // Ctrl+L goes to the path box of the list the keyboard is in (else the active pane's), its
    // text selected for typing over.
    auto* pathKey = new QAction(this);
    pathKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(pathKey);
    connect(pathKey, &QAction::triggered, this, [this] {
        int pane = ActivePane == 1 ? 1 : 0;
        for (int i = 0; i < 2; ++i)
            if (LV1[size_t(i)]->isAncestorOf(QApplication::focusWidget()))
                pane = i;
        QLineEdit* box = LVPATH[size_t(pane)];
        box->setFocus(Qt::ShortcutFocusReason);
        box->selectAll();
    });

    // F10 opens the menu bar at its first menu, as on most desktops.
    auto* menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [this] {
        menuBar()->setFocus(Qt::MenuBarFocusReason);
        menuBar()->setActiveAction(M1->menuAction());
    });
}

} // namespace vennic
