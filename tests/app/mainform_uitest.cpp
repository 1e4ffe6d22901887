#include "listing/typenames.h"
#include "support/formfixture.h"
#include "ui/ddpanel.h"
#include "ui/tavbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>

#include <unistd.h>

namespace vennic {
namespace {

/// A form started on a small temporary folder.
class MainFormTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.file("alpha/inner.bin", 100);
        m_tmp.folder("beta");
        m_tmp.file("one.txt", 10);
        m_tmp.file("two.dat", 0);
        m_tmp.file("README", 5);
    }
};

TEST_F(MainFormTest, BothPanesListTheCurrentFolderAlike)
{
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
    EXPECT_EQ(m_form->LVPATH[0]->text(), QString::fromStdString(m_tmp.path()));
    EXPECT_EQ(names(0, true), (std::set<QString>{"alpha", "beta"}));
    EXPECT_EQ(names(0, false), (std::set<QString>{"one.txt", "two.dat"}))
        << "README has no dot, so the starting pattern leaves it out";
    ASSERT_EQ(rows(0).rowCount(), rows(1).rowCount());
    // The left pane is listed first, and its listing reads every sub-folder for its size, which
    // can move the sub-folders' access times on before the right pane looks at them. So the
    // Accessed cell of a folder row may differ, but only as such a reading moves it: forward,
    // to a time after the folder was filled and not past what the folder shows now. Every
    // other cell must be the same.
    for (int i = 0; i < rows(0).rowCount(); ++i) {
        const PaneRow& left = rows(0).row(i);
        const PaneRow& right = rows(1).row(i);
        ASSERT_EQ(left.nativeName, right.nativeName) << i;
        for (int c = 0; c < 7; ++c)
            if (c != ColAccessed || !left.isFolder())
                EXPECT_EQ(rows(0).cellText(i, c), rows(1).cellText(i, c)) << i << ' ' << c;
        if (!left.isFolder())
            continue;
        const QString folder = QString::fromStdString(left.nativeName);
        EXPECT_FALSE(rows(0).cellText(i, ColAccessed).isEmpty()) << folder.toStdString();
        EXPECT_FALSE(rows(1).cellText(i, ColAccessed).isEmpty()) << folder.toStdString();
        const int64_t onDiskNow = QFileInfo(path(left.nativeName)).lastRead().toSecsSinceEpoch();
        EXPECT_LE(left.accessed, right.accessed) << folder.toStdString();
        EXPECT_LE(right.accessed, onDiskNow) << folder.toStdString();
        // Created is the birth time, or where the system keeps none the modification time,
        // which the folder's first entry set a moment after the folder was made.
        EXPECT_GE(left.accessed, left.created - 2) << folder.toStdString();
        if (left.accessed == right.accessed)
            EXPECT_EQ(rows(0).cellText(i, ColAccessed), rows(1).cellText(i, ColAccessed));
        else
            EXPECT_GE(right.accessed, right.modified)
                << folder.toStdString() << ": a reading by the listing comes after the fixture";
    }
    EXPECT_EQ(rows(1).columnCount(QModelIndex()), 8);
    EXPECT_EQ(rows(0).columnCount(QModelIndex()), 7);

    for (int i = 0; i < rows(0).rowCount(); ++i) {
        if (!rows(0).row(i).isFolder())
            continue;
        EXPECT_EQ(rows(0).cellText(i, ColType), QStringLiteral(" File Folder"));
        EXPECT_EQ(rows(0).data(rows(0).index(i, ColName), Qt::ForegroundRole).value<QColor>(),
                  QColor(0, 0, 255));
        EXPECT_EQ(rows(0).data(rows(0).index(i, ColName), PaneList::SmallImageRole).toInt(), 2);
    }
    EXPECT_EQ(m_form->LVFC[0]->text(), QStringLiteral("2 Files, 2 Folders, 110 Bytes"));
    EXPECT_EQ(m_form->LVFC[1]->text(), m_form->LVFC[0]->text());
    EXPECT_TRUE(m_form->SelFile[0]->text().isEmpty());
    EXPECT_TRUE(m_form->PaneRowsFolder[0].folder());
    EXPECT_NE(m_form->PaneDrive[1], nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainFormTest, DriveLineStartsWithADriveTypeName)
{
    ASSERT_EQ(m_form->DriveTypeNames, (QStringList{"Unknown", "Removable Media", "Fixed Disk",
                                                   "Remote Media", "CDRom", "RAMDisk"}));
    for (int pane = 0; pane < 2; ++pane) {
        const QString line = m_form->LVDrive[size_t(pane)]->text();
        bool known = false;
        for (const QString& name : m_form->DriveTypeNames)
            known = known || line.startsWith(name + QStringLiteral("  "));
        EXPECT_TRUE(known) << line.toStdString();
        EXPECT_TRUE(line.endsWith(QStringLiteral(" Bytes free"))) << line.toStdString();
    }
    EXPECT_EQ(m_form->LVDrive[0]->toolTip(), QStringLiteral("Click for more drive information."));
    EXPECT_EQ(m_form->LVDrive[1]->toolTip(), QStringLiteral("Click for more drive information"));
    EXPECT_GE(m_form->DR1[0]->currentIndex(), 0) << "the pane's drive is chosen in its list";
}

TEST_F(MainFormTest, FilterHistoryStartsWithStarDotStar)
{
    ASSERT_GE(m_form->FEX->count(), 3);
    EXPECT_EQ(m_form->FEX->itemText(0), QStringLiteral("*.*"));
    QStringList items;
    for (int i = 0; i < m_form->FEX->count(); ++i)
        items << m_form->FEX->itemText(i);
    EXPECT_TRUE(items.contains(QStringLiteral("*.txt")));
    EXPECT_TRUE(items.contains(QStringLiteral("*.dat")));
    // The start lists with the filter box's "*.*" and no combo pattern, and the boxes say so.
    EXPECT_EQ(m_form->FEX->currentText(), QString());
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.*"));

    // A pick or an edit in the combo reaches the filter box; after a listing both show the
    // pattern it used.
    m_form->FEX->setEditText(QStringLiteral("*.txt"));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.txt"));
    m_form->GetListing(0);
    EXPECT_EQ(names(0, false), (std::set<QString>{"one.txt"}));
    EXPECT_EQ(m_form->FEX->currentText(), QStringLiteral("*.txt"));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.txt"));
}

TEST_F(MainFormTest, LatchedButtonsLeaveFoldersOrFilesOut)
{
    EXPECT_EQ(m_form->ShowFoldersBtn->caption(), QStringLiteral("Folders"));
    EXPECT_EQ(m_form->ShowFilesBtn->caption(), QStringLiteral("Files"));
    EXPECT_EQ(m_form->PO->caption(), QStringLiteral("Portrait"));
    m_form->ShowFoldersBtn->click();
    EXPECT_EQ(m_form->ShowFoldersBtn->caption(), QStringLiteral("No Folders"));
    EXPECT_TRUE(names(0, true).empty()) << "latching lists both panes again at once";
    EXPECT_TRUE(names(1, true).empty());
    m_form->GetListing(0);
    EXPECT_TRUE(names(0, true).empty());
    EXPECT_EQ(m_form->LVFC[0]->text(), QStringLiteral("2 Files, 0 Folders, 10 Bytes"));

    m_form->ShowFoldersBtn->click();
    m_form->ShowFilesBtn->click();
    EXPECT_EQ(m_form->ShowFilesBtn->caption(), QStringLiteral("No Files"));
    m_form->GetListing(1);
    EXPECT_TRUE(names(1, false).empty());
    EXPECT_EQ(m_form->LVFC[1]->text(), QStringLiteral("0 Files, 2 Folders, 100 Bytes"));
    m_form->PO->click();
    EXPECT_EQ(m_form->PO->caption(), QStringLiteral("Landscape"));
}

TEST_F(MainFormTest, AListingAskedForDuringAnotherComesOnceItEnds)
{
    int made = 0;
    int rightRowsDuring = -1;
    m_form->setFileSystemFactory([&]() -> std::unique_ptr<FileSystem> {
        if (++made == 1) {
            EXPECT_TRUE(m_form->listingRunning());
            m_form->GetListing(1); // arrives while pane 0 is being listed
            rightRowsDuring = rows(1).rowCount();
        }
        return makeSystemFileSystem(m_form->typeNames().namer());
    });
    const int rightRows = rows(1).rowCount();
    m_form->GetListing(0);
    EXPECT_EQ(rightRowsDuring, rightRows) << "the right pane waited for the left one's read";
    EXPECT_EQ(made, 2) << "then the right pane was listed";
    EXPECT_EQ(rows(1).rowCount(), 4);
    EXPECT_FALSE(m_form->listingRunning());
    EXPECT_EQ(rows(0).rowCount(), 4);
}

TEST_F(MainFormTest, AFailedListingLeavesNoFolderBehindThePane)
{
    list(0, m_tmp.pathOf("missing"));
    EXPECT_EQ(m_prompts->messages(), QStringList{QStringLiteral("Path not found76")});
    EXPECT_FALSE(m_form->PaneRowsFolder[0].folder());
    EXPECT_EQ(rows(0).rowCount(), 0);
    EXPECT_EQ(m_form->LVFC[0]->text(), QString());
    EXPECT_EQ(m_form->FEX->itemText(0), QStringLiteral("*.*"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer is gone";
}

TEST_F(MainFormTest, NativePathListsNamesThatAreNotUtf8UntilTheUserEditsTheBox)
{
    const std::string odd = m_tmp.folder("caf\xe9");
    m_tmp.file("caf\xe9/inside.txt", 3);
    list(0, odd);
    EXPECT_EQ(names(0, false), (std::set<QString>{"inside.txt"}));
    EXPECT_EQ(m_form->panePath(0), odd);

    m_form->LVPATH[0]->setFocus();
    QTest::keyClick(m_form->LVPATH[0], Qt::Key_End);
    QTest::keyClick(m_form->LVPATH[0], Qt::Key_Backspace);
    EXPECT_EQ(m_form->panePath(0), QFile::encodeName(m_form->LVPATH[0]->text()).toStdString());
}

TEST_F(MainFormTest, WindowPlacementControlsAndTabOrder)
{
    const QRect area = m_form->screen()->availableGeometry();
    // The platform may add its frame's width to the position asked for.
    // Nine tenths of the screen's width, or the tool strip's width where that is more, as far
    // as the free area reaches; centred when widened.
    const int width = m_form->width();
    const int strip = m_form->Frame1->geometry().right() + 1 + m_form->twips(120);
    EXPECT_EQ(width, std::min(area.width(), std::max(int(area.width() * 0.9), strip)));
    EXPECT_NEAR(m_form->x(),
                area.left() + std::min(int(area.width() * 0.05), (area.width() - width) / 2), 4);
    EXPECT_NEAR(m_form->y(), area.top() + int(area.height() / 3.0), 4);
    EXPECT_EQ(m_form->height(), int(area.height() / 3.0 * 1.9));

    EXPECT_EQ(m_form->Go1->text(), QStringLiteral("Refresh"));
    EXPECT_EQ(m_form->DelAllBtn->text(), QStringLiteral("DA"));
    EXPECT_EQ(m_form->PrinPrevBtn->text(), QStringLiteral("Command2"));
    EXPECT_EQ(m_form->Go1->geometry(), m_form->twipsRect(600, 0, 735, 375));
    EXPECT_EQ(m_form->LVPATH[0]->palette().color(QPalette::Base), QColor(255, 224, 192));
    EXPECT_TRUE(m_form->LVPATH[0]->font().bold());
    EXPECT_EQ(m_form->ddPanel()->windowTitle(), QStringLiteral("Drive & Directory Control Panel"));
    EXPECT_TRUE(m_form->ddPanel()->isVisible());

    // After the left list Tab reaches the right list, then "Refresh" at the tool strip's start.
    const auto nextAfter = [](QWidget* from, QWidget* leaving) {
        QWidget* next = from->nextInFocusChain();
        while (next && (!(next->focusPolicy() & Qt::TabFocus) || leaving->isAncestorOf(next)))
            next = next->nextInFocusChain();
        return next;
    };
    EXPECT_EQ(nextAfter(m_form->LV1[0]->reportView(), m_form->LV1[0]),
              m_form->LV1[1]->reportView());
    EXPECT_EQ(nextAfter(m_form->LV1[1]->reportView(), m_form->LV1[1]), m_form->Go1);
}

TEST_F(MainFormTest, EndClosesThePanelAndTheWindow)
{
    ASSERT_TRUE(showForm());
    m_form->EndBtn->click();
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_FALSE(m_form->ddPanel()->isVisible());
}

TEST_F(MainFormTest, PickingAFolderInThePanelListsItInThatPane)
{
    Q_EMIT m_form->ddPanel()->folderPicked(1, path("alpha"));
    EXPECT_EQ(m_form->LVPATH[1]->text(), path("alpha"));
    EXPECT_EQ(m_form->LVFC[1]->text(), QStringLiteral("1 Files, 0 Folders, 100 Bytes"));
    EXPECT_EQ(m_form->LVFC[0]->text(), QStringLiteral("2 Files, 2 Folders, 110 Bytes"));
}

} // namespace
} // namespace vennic
