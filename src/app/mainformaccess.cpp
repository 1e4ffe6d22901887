// What the keyboard and a screen reader find in MainForm: a name for every control, a
// description and a tool tip where the caption is terse, and the active pane that follows
// the keyboard from one pane to the other.
#include "app/mainform.h"

#include "ui/accessiblelabel.h"
#include "ui/panelistview.h"
#include "ui/sizingstrip.h"
#include "ui/tavbutton.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeView>

namespace vennic {

namespace {

/// Names `widget` for a screen reader and says what it does, also as its tool tip (with the
/// key that does the same, when there is one).
void describe(QWidget* widget, const QString& name, const QString& does,
              const QString& key = QString())
{
    if (!name.isEmpty())
        widget->setAccessibleName(name);
    widget->setAccessibleDescription(does);
    widget->setToolTip(key.isEmpty() ? does : QStringLiteral("%1 (%2)").arg(does, key));
}

} // namespace

void MainForm::describeControls()
{
    for (int i = 0; i < 2; ++i) {
        const auto p = size_t(i);
        const QString side = i == 0 ? QStringLiteral("Left") : QStringLiteral("Right");
        const QString list = QStringLiteral("%1 pane's list").arg(side);
        // The list is one of its two views at a time; whichever has the keyboard says which
        // pane it is.
        for (QWidget* view :
             {static_cast<QWidget*>(LV1[p]), static_cast<QWidget*>(LV1[p]->reportView()),
              static_cast<QWidget*>(LV1[p]->iconView())}) {
            view->setAccessibleName(list);
            view->setAccessibleDescription(
                QStringLiteral("The folders and files of the %1 pane's folder")
                    .arg(side.toLower()));
        }
        DR1[p]->setAccessibleName(QStringLiteral("%1 pane's drive list").arg(side));
        DR1[p]->setAccessibleDescription(
            QStringLiteral("Pick a drive to list its root folder in the %1 pane")
                .arg(side.toLower()));
        Up1[p]->setAccessibleName(QStringLiteral("%1 pane up one level").arg(side));
        Up1[p]->setAccessibleDescription(
            QStringLiteral("List the folder above the %1 pane's folder").arg(side.toLower()));
        LVPATH[p]->setAccessibleName(QStringLiteral("%1 pane's folder").arg(side));
        LVPATH[p]->setAccessibleDescription(
            QStringLiteral("The folder the %1 pane lists: type a path and press Enter to list it")
                .arg(side.toLower()));
        AccessibleLabel::name(*LVFC[p], QStringLiteral("%1 pane's counts").arg(side));
        AccessibleLabel::name(*SelFile[p], QStringLiteral("%1 pane's selected item").arg(side));
        AccessibleLabel::name(*LVDrive[p], QStringLiteral("%1 pane's drive").arg(side));
        JobStrip[p]->setAccessibleName(QStringLiteral("%1 pane's progress").arg(side));
        SizeStrip[p]->setAccessibleName(QStringLiteral("%1 pane's folder sizes").arg(side));
    }

    describe(EndBtn, {}, QStringLiteral("End the program"));
    describe(Go1, {}, QStringLiteral("List both panes again with the filter pattern"),
             QStringLiteral("F5"));
    describe(PrinBtn, {}, QStringLiteral("Print the active pane's listing"),
             QStringLiteral("Ctrl+P"));
    describe(DelBtn, {}, QStringLiteral("Delete the files marked for deletion in the active pane"),
             QStringLiteral("F8"));
    describe(DelAllBtn, QStringLiteral("Delete all"),
             QStringLiteral("Delete all files of the active pane's folder"),
             QStringLiteral("Shift+F8"));
    describe(CopyBtn, {},
             QStringLiteral("Copy the files marked in the left pane into the right pane's folder"),
             QStringLiteral("Shift+F5"));
    describe(ShowFoldersBtn, {}, QStringLiteral("Show or hide the folders of both panes"));
    describe(ShowFilesBtn, {}, QStringLiteral("Show or hide the files of both panes"));
    describe(PO, {}, QStringLiteral("Print in portrait or in landscape"));
    describe(RemBtn, QStringLiteral("Rebuild right pane"),
             QStringLiteral("Rebuild the right pane's rows from the left pane's names"));
    describe(PrinSmallBtn, {}, QStringLiteral("Print the active pane's listing in small type"));
    describe(FEX, QStringLiteral("Filter pattern"),
             QStringLiteral("The pattern of the names both panes show; press Enter to list "
                            "both panes with it"));
    // The combo's text box is what the keyboard types into.
    FEX->lineEdit()->setAccessibleName(FEX->accessibleName());
    FEX->lineEdit()->setAccessibleDescription(FEX->accessibleDescription());
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    describe(Frame1, {}, QStringLiteral("How both lists show their rows"));
    const char* const views[] = {"Large icons", "Small icons", "List", "Details"};
    for (size_t i = 0; i < Option1.size(); ++i)
        describe(
            Option1[i], QStringLiteral("View %1: %2").arg(i + 1).arg(QLatin1String(views[i])),
            QStringLiteral("Show both lists as %1").arg(QString::fromLatin1(views[i]).toLower()));
    describe(CompFldr, QStringLiteral("Compare"),
             QStringLiteral("Line the two panes up by name, with an empty row beside each name "
                            "the other pane lacks"));
    describe(FilterExpression, QStringLiteral("Active filter pattern"),
             QStringLiteral("The pattern the next listing uses; press Enter to list both panes "
                            "with it"));
    describe(Command1, QStringLiteral("Align column"),
             QStringLiteral("Right-align the column of the left list that the box beside names"));
    describe(Text1, QStringLiteral("Column to align"),
             QStringLiteral("The number of the column that \"Command1\" right-aligns"));
    describe(PrinPrevBtn, QStringLiteral("Print preview"),
             QStringLiteral("Show the active pane's listing as it prints"));
}

void MainForm::followFocus()
{
    // The pane the keyboard is in is the one pane commands act on, and its list shows it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || now->window() != this)
            return;
        for (int i = 0; i < 2; ++i) {
            const auto p = size_t(i);
            for (QWidget* control :
                 {static_cast<QWidget*>(LV1[p]), static_cast<QWidget*>(DR1[p]),
                  static_cast<QWidget*>(Up1[p]), static_cast<QWidget*>(LVPATH[p])})
                if (control == now || control->isAncestorOf(now)) {
                    makeActive(i);
                    return;
                }
        }
    });
}

} // namespace vennic
