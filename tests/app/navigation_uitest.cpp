#include "support/formfixture.h"
#include "support/sharedfilesystem.h"
#include "ui/ddpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace vennic {
namespace {

/// A form started on a temporary folder with nested folders and a name that is not UTF-8.
class NavigationTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.file("sub/deeper/inner.txt", 7);
        m_tmp.file("sub/a.txt", 3);
        m_tmp.file("sub/b.dat", 4);
        m_tmp.file("top.txt", 1);
        m_tmp.file("top.dat", 2);
        m_tmp.file("caf\xe9/inner/deep.txt", 5);
    }
    void typeFilter(const QString& pattern)
    {
        m_form->FEX->lineEdit()->selectAll();
        QTest::keyClicks(m_form->FEX->lineEdit(), pattern);
    }
};

TEST_F(NavigationTest, UpGoesOneFolderUpKeepingTheNativePathAndStopsAtTheRoot)
{
    list(1, m_tmp.pathOf("sub/deeper"));
    EXPECT_EQ(m_form->ActivePane, 0);
    ASSERT_TRUE(m_form->Up1[1]->isEnabled());
    QTest::mouseClick(m_form->Up1[1], Qt::LeftButton);
    EXPECT_EQ(m_form->ActivePane, 1);
    EXPECT_EQ(m_form->LVPATH[1]->text(), path("sub"));
    EXPECT_EQ(m_form->LVFC[1]->text(), QStringLiteral("2 Files, 1 Folders, 14 Bytes"));

    // A trailing separator is dropped before the walk.
    list(1, m_tmp.pathOf("sub") + "/");
    QTest::mouseClick(m_form->Up1[1], Qt::LeftButton);
    EXPECT_EQ(m_form->LVPATH[1]->text(), QString::fromStdString(m_tmp.path()));

    // The kept native path goes up too, so a folder whose name is not UTF-8 is listed.
    list(0, m_tmp.pathOf("caf\xe9/inner"));
    QTest::mouseClick(m_form->Up1[0], Qt::LeftButton);
    EXPECT_EQ(m_form->panePath(0), m_tmp.pathOf("caf\xe9"));
    EXPECT_EQ(names(0, true), (std::set<QString>{"inner"}));
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();

    // At the root nothing more happens: the path stays and the pane is not listed again.
    m_form->setPanePath(0, "/");
    const QString countLine = m_form->LVFC[0]->text();
    m_form->ActivePane = 1;
    QTest::mouseClick(m_form->Up1[0], Qt::LeftButton);
    EXPECT_EQ(m_form->ActivePane, 0);
    EXPECT_EQ(m_form->LVPATH[0]->text(), QStringLiteral("/"));
    EXPECT_EQ(m_form->LVFC[0]->text(), countLine);
}

TEST_F(NavigationTest, RefreshListsBothPanesWithThePatternAndLeavesItInTheCombo)
{
    list(1, m_tmp.pathOf("sub"));
    ASSERT_TRUE(m_form->Go1->isEnabled());
    typeFilter(QStringLiteral("*.txt"));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.txt"));
    QTest::mouseClick(m_form->Go1, Qt::LeftButton);
    EXPECT_EQ(names(0, false), (std::set<QString>{"top.txt"}));
    EXPECT_EQ(names(1, false), (std::set<QString>{"a.txt"}))
        << "the second pane is listed with the pattern too";
    EXPECT_EQ(m_form->SavedFilter, QStringLiteral("*.txt"));
    EXPECT_EQ(m_form->FEX->currentText(), QStringLiteral("*.txt"));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.txt"));

    // A pattern picked from the history works the same way.
    typeFilter(QStringLiteral("*.*"));
    QTest::mouseClick(m_form->Go1, Qt::LeftButton);
    const int dat = m_form->FEX->findText(QStringLiteral("*.dat"));
    ASSERT_GT(dat, 0) << "the history holds the extensions of the last listing";
    m_form->FEX->setCurrentIndex(dat);
    Q_EMIT m_form->FEX->textActivated(m_form->FEX->itemText(dat));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.dat"));

    // F5 anywhere in the window is "Refresh". The drive-and-directory panel, shown at start,
    // is closed first: its activation may otherwise arrive after the window's and take the key.
    m_form->ddPanel()->hide();
    m_form->show();
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m_form.get(); }));
    QTest::keyClick(m_form->LV1[0]->reportView(), Qt::Key_F5);
    EXPECT_EQ(names(0, false), (std::set<QString>{"top.dat"}));
    EXPECT_EQ(names(1, false), (std::set<QString>{"b.dat"}));
    EXPECT_EQ(m_form->FEX->currentText(), QStringLiteral("*.dat"));

    // Any other listing uses the pattern the boxes show, and leaves it there.
    QTest::mouseClick(m_form->Up1[1], Qt::LeftButton);
    EXPECT_EQ(m_form->FEX->currentText(), QStringLiteral("*.dat"));
    EXPECT_EQ(m_form->FilterExpression->text(), QStringLiteral("*.dat"));
}

TEST_F(NavigationTest, ViewButtonsSwitchBothLists)
{
    const int modes[] = {PaneListView::LargeIcons, PaneListView::SmallIcons, PaneListView::List,
                         PaneListView::Report};
    for (int i : {0, 2, 1, 3}) {
        ASSERT_TRUE(m_form->Option1[size_t(i)]->isEnabled());
        m_form->Option1[size_t(i)]->click();
        for (int pane = 0; pane < 2; ++pane) {
            PaneListView* view = m_form->LV1[size_t(pane)];
            EXPECT_EQ(view->viewMode(), modes[i]) << i;
            if (i == 3)
                EXPECT_EQ(view->currentView(), view->reportView());
            else
                EXPECT_EQ(view->currentView(), view->iconView());
            EXPECT_EQ(view->currentView()->model(), m_form->LV1Rows[size_t(pane)]);
        }
    }
}

TEST_F(NavigationTest, EnterOpensAFolderRowAndBackspaceGoesUp)
{
    QTreeView* tree = m_form->LV1[0]->reportView();
    const int file = rowOf(0, "top.txt");
    ASSERT_GE(file, 0);
    m_form->LV1[0]->setCurrentRow(file);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(m_form->panePath(0), m_tmp.path()) << "Enter on a file row opens nothing";

    const int odd = rowOf(0, "caf\xe9");
    ASSERT_GE(odd, 0);
    m_form->LV1[0]->setCurrentRow(odd);
    m_form->ActivePane = 1;
    QTest::keyClick(tree, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_form->panePath(0), m_tmp.pathOf("caf\xe9"));
    EXPECT_EQ(m_form->ActivePane, 0);
    EXPECT_EQ(names(0, true), (std::set<QString>{"inner"}));

    QTest::keyClick(tree, Qt::Key_Backspace);
    EXPECT_EQ(m_form->panePath(0), m_tmp.path());
    EXPECT_EQ(names(0, true), (std::set<QString>{"caf\uFFFD", "sub"}));

    // In the icon views the keys mean the same.
    list(1, m_tmp.pathOf("sub"));
    m_form->Option1[1]->click();
    QTest::keyClick(m_form->LV1[1]->iconView(), Qt::Key_Backspace);
    EXPECT_EQ(m_form->LVPATH[1]->text(), QString::fromStdString(m_tmp.path()));
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
}

TEST(Navigation, PickingADriveListsItsRootInThatPane)
{
    test::FakeFileSystem fake;
    fake.addDrive("/media/usb", DriveKind::Removable, "vfat", 8000, 4000);
    fake.addFile("/media/usb/photo.jpg", 100);
    fake.addFolder("/media/usb/trip");
    fake.addFile("/home/ann/notes.txt", 1);
    auto prompts = std::make_shared<test::ScriptedPrompts>();
    MainForm form(MainFormOptions{
        prompts, [&fake] { return std::make_unique<test::SharedFileSystem>(fake); }});
    prompts->clear(); // the current directory of the test is not in the fake

    QComboBox* drives = form.DR1[1];
    ASSERT_TRUE(drives->isEnabled());
    ASSERT_EQ(drives->count(), 2);
    ASSERT_EQ(drives->itemText(1), QStringLiteral("/media/usb"));
    drives->setCurrentIndex(0);
    QTest::keyClick(drives, Qt::Key_Down);
    EXPECT_EQ(form.ActivePane, 1);
    EXPECT_EQ(form.LVPATH[1]->text(), QStringLiteral("/media/usb"));
    EXPECT_EQ(form.panePath(1), "/media/usb");
    EXPECT_EQ(form.LV1Rows[1]->rowCount(), 2);
    EXPECT_EQ(form.LVFC[1]->text(), QStringLiteral("1 Files, 1 Folders, 100 Bytes"));
    EXPECT_TRUE(form.LVDrive[1]->text().startsWith(QStringLiteral("Removable Media  vfat")));

    // Going into a folder keeps the drive shown; picking the first drive lists "/".
    form.setPanePath(0, "/home/ann");
    form.GetListing(0);
    EXPECT_EQ(form.DR1[0]->currentIndex(), 0);
    QTest::keyClick(drives, Qt::Key_Up);
    EXPECT_EQ(form.LVPATH[1]->text(), QStringLiteral("/"));
    std::set<QString> names;
    for (int i = 0; i < form.LV1Rows[1]->rowCount(); ++i)
        names.insert(form.LV1Rows[1]->cellText(i, ColName));
    EXPECT_EQ(names, (std::set<QString>{"home", "media"}));
    EXPECT_TRUE(prompts->messages().isEmpty()) << prompts->messages().join('\n').toStdString();
}

} // namespace
} // namespace vennic
