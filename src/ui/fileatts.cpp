#include "ui/fileatts.h"

#include "fileops/attributeedit.h"
#include "shell/twips.h"
#include "ui/tavbutton.h"
#include "ui/tavpanel.h"
#include "ui/twipsgeometry.h"

#include <QCheckBox>
#include <QLabel>

namespace vennic {

namespace {

constexpr double PanelWidth = 3960;
constexpr double PanelHeight = 2940;

} // namespace

FileAtts::FileAtts(QWidget* parent)
    : BorderlessDialog(parent, "FileAtts", QStringLiteral("Set file attributes"), true)
{
    createControls();
    Form_Load();
}

void FileAtts::createControls()
{
    AttribPnl =
        createPanel(QStringLiteral("File Attributes"), "AttribPnl", PanelWidth, PanelHeight);

    SelFileName = new QLabel(AttribPnl);
    SelFileName->setObjectName(QStringLiteral("SelFileName"));
    SelFileName->setTextFormat(Qt::PlainText);
    setGeometryTwips(SelFileName, 180, 360, PanelWidth - 360, 255);

    struct Design {
        QCheckBox*& box;
        const char* name;
        const char* caption;
    };
    const Design design[] = {
        {AtRO, "AtRO", "Read only"}, {AtHi, "AtHi", "Hidden"},     {AtSy, "AtSy", "System"},
        {AtVo, "AtVo", "Volume"},    {AtDi, "AtDi", "Directory"},  {AtAr, "AtAr", "Archive"},
        {AtAl, "AtAl", "Alias"},     {AtCo, "AtCo", "Compressed"},
    };
    // Two columns of four boxes, in the order of the letters.
    for (int i = 0; i < 8; ++i) {
        QCheckBox*& box = design[i].box;
        box = new QCheckBox(QString::fromLatin1(design[i].caption), AttribPnl);
        box->setObjectName(QString::fromLatin1(design[i].name));
        setGeometryTwips(box, i < 4 ? 240 : 2040, 720 + (i % 4) * 330, 1680, 285);
    }

    SetBtn = new TavButton(QStringLiteral("Set"), QStringLiteral("Set"), AttribPnl);
    SetBtn->setObjectName(QStringLiteral("SetBtn"));
    QFont bold = font();
    bold.setBold(true);
    SetBtn->setFonts(bold);
    CancelBtn = new TavButton(QStringLiteral("Cancel"), QStringLiteral("Cancel"), AttribPnl);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    ClearBtn = new TavButton(QStringLiteral("Clear"), QStringLiteral("Clear"), AttribPnl);
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    ClearBtn->setToolTip(QStringLiteral("Untick every box"));
    double left = 300;
    for (TavButton* button : {SetBtn, CancelBtn, ClearBtn}) {
        button->setTextShadow(true);
        if (button != SetBtn)
            button->setFonts(font());
        setGeometryTwips(button, left, 2160, 1020, 420);
        left += 1140;
    }

    connect(SetBtn, &TavButton::activated, this, &FileAtts::SetBtn_Click);
    connect(CancelBtn, &TavButton::activated, this, &FileAtts::CancelBtn_Click);
    connect(ClearBtn, &TavButton::activated, this, &FileAtts::ClearBtn_Click);
}

void FileAtts::Form_Load()
{
    placeOnLoad(AttribPnl);
    SelFileName->setAutoFillBackground(true);
    QPalette palette = SelFileName->palette();
    palette.setColor(QPalette::Window, AttribPnl->panelColor());
    SelFileName->setPalette(palette);
}

std::array<FileAtts::Box, 8> FileAtts::boxes() const
{
    return {{{AtRO, Attr::ReadOnly},
             {AtHi, Attr::Hidden},
             {AtSy, Attr::System},
             {AtVo, Attr::Volume},
             {AtDi, Attr::Directory},
             {AtAr, Attr::Archive},
             {AtAl, Attr::Alias},
             {AtCo, Attr::Compressed}}};
}

void FileAtts::ClearAtts()
{
    for (const Box& b : boxes())
        b.box->setChecked(false);
}

void FileAtts::showEntry(const AttributeEdit& edit)
{
    for (const Box& b : boxes()) {
        b.box->setChecked(edit.present() & b.bit);
        b.box->setEnabled(edit.writable() & b.bit);
        b.box->setToolTip(edit.lockedReason(b.bit));
    }
    // A folder or a link has nothing to clear: "Clear" would only untick boxes that are shown.
    ClearBtn->setEnabled(edit.writable() != 0);
}

uint32_t FileAtts::tickedAttributes() const
{
    uint32_t attributes = 0;
    for (const Box& b : boxes())
        if (b.box->isChecked())
            attributes |= b.bit;
    return attributes;
}

void FileAtts::SetBtn_Click()
{
    SetBtn->setLatched(false);
    accept();
}

void FileAtts::CancelBtn_Click()
{
    CancelBtn->setLatched(false);
    reject();
}

void FileAtts::ClearBtn_Click()
{
    ClearBtn->setLatched(false);
    ClearAtts();
}

void FileAtts::showEvent(QShowEvent* event)
{
    for (TavButton* button : {SetBtn, CancelBtn, ClearBtn})
        button->setLatched(false);
    BorderlessDialog::showEvent(event);
}

} // namespace vennic
