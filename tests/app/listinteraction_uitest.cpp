#include "platform/filelauncher.h"
#include "support/fakefilesystem.h"
#include "support/formfixture.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>

namespace vennic {
namespace {

using test::FakeFileSystem;

/// Records the files it is asked to open and answers as told.
class RecordingLauncher : public FileLauncher {
public:
    bool open(const NativeString& path) override
    {
        opened.push_back(path);
        return succeeds;
    }
    std::vector<NativeString> opened;
    bool succeeds = true;
};

/// A shown form on a temporary folder with files of chosen sizes and modification times.
class ListInteractionTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.file("a.txt", 9);
        m_tmp.file("b.txt", 1000000);
        m_tmp.file("C.txt", 100);
        m_tmp.file("dir/inner.bin", 50);
        m_tmp.symlink("link", "dir");
        m_tmp.file("caf\xe9/inside.txt", 3);
        m_tmp.file("caf\xe9.txt", 4);
        setModified("a.txt", FakeFileSystem::localTime(2026, 12, 8, 7, 29, 42));
        setModified("b.txt", FakeFileSystem::localTime(2026, 3, 1));
        setModified("C.txt", FakeFileSystem::localTime(2025, 6, 15, 13, 0, 0));
        setModified("dir", FakeFileSystem::localTime(2020, 1, 1));
        setModified("link", FakeFileSystem::localTime(2019, 1, 1));
        setModified("caf\xe9", FakeFileSystem::localTime(2018, 1, 1));
        setModified("caf\xe9.txt", FakeFileSystem::localTime(2017, 1, 1));
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        m_launcher = std::make_shared<RecordingLauncher>();
        m_form->setFileLauncher(m_launcher);
        ASSERT_TRUE(showForm());
    }

    void setModified(const std::string& relative, FileTime when)
    {
        m_tmp.setTimes(relative, when, when);
    }
    QTreeView* tree(int pane) { return m_form->LV1[size_t(pane)]->reportView(); }
    QStringList namesInOrder(int pane)
    {
        QStringList names;
        for (int i = 0; i < rows(pane).rowCount(); ++i)
            names << rows(pane).cellText(i, ColName);
        return names;
    }
    QPoint rowCenter(int pane, int row)
    {
        return tree(pane)->visualRect(rows(pane).index(row, ColName)).center();
    }
    void clickRow(int pane, int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(tree(pane)->viewport(), button, modifiers, rowCenter(pane, row));
    }
    /// The events of a double click as the window system delivers them: a click, then a
    /// press that is reported as a double click, then the release.
    void doubleClickRow(int pane, int row)
    {
        QWidget* viewport = tree(pane)->viewport();
        const QPoint at = rowCenter(pane, row);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
    void clickHeader(int pane, int column)
    {
        QHeaderView* header = tree(pane)->header();
        // Narrow columns put every header in sight.
        for (int c = 0; c < header->count(); ++c)
            header->resizeSection(c, 40);
        const int x = header->sectionViewportPosition(column) + 20;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    std::shared_ptr<RecordingLauncher> m_launcher;
};

TEST_F(ListInteractionTest, HeaderClicksSortBothWaysByValueWithTheIcon)
{
    clickHeader(0, ColBytes);
    EXPECT_EQ(m_form->SortColumn[0], ColBytes);
    EXPECT_EQ(rows(0).sortIcon(ColBytes), 1);
    // The link's size cell is empty and comes first; then by number.
    EXPECT_EQ(namesInOrder(0), QStringList({"link", "caf\uFFFD", "caf\uFFFD.txt", "a.txt", "dir",
                                            "C.txt", "b.txt"}));
    clickHeader(0, ColBytes);
    EXPECT_EQ(rows(0).sortIcon(ColBytes), 2);
    EXPECT_EQ(namesInOrder(0), QStringList({"b.txt", "C.txt", "dir", "a.txt", "caf\uFFFD.txt",
                                            "caf\uFFFD", "link"}));

    // Another column: the previous icon goes, and the order turns over again.
    clickHeader(0, ColModified);
    EXPECT_EQ(rows(0).sortIcon(ColBytes), 0);
    EXPECT_EQ(rows(0).sortIcon(ColModified), 1);
    EXPECT_EQ(m_form->SortColumn[0], ColModified);
    // By time, not by text ("12/8/2026" would come before "3/1/2026").
    const QStringList byTime{"caf\uFFFD.txt", "caf\uFFFD", "link", "dir",
                             "C.txt",         "b.txt",     "a.txt"};
    EXPECT_EQ(namesInOrder(0), byTime);

    // Sorting stays on: the next listing of the pane arrives in the same order.
    m_form->GetListing(0);
    EXPECT_EQ(namesInOrder(0), byTime);
    EXPECT_EQ(rows(0).sortIcon(ColModified), 1);
    EXPECT_EQ(m_form->SortColumn[1], 0) << "each pane keeps its own column";
    EXPECT_EQ(rows(1).sortIcon(ColModified), 0);

    clickHeader(0, ColName);
    EXPECT_EQ(namesInOrder(0),
              QStringList({"link", "dir", "caf\uFFFD.txt", "caf\uFFFD", "C.txt", "b.txt", "a.txt"}))
        << "names sort without regard to case";
}

TEST_F(ListInteractionTest, RowClickActivatesThePaneAndTurnsTheRowRedThenBlack)
{
    const int file = rowOf(1, "a.txt");
    ASSERT_GE(file, 0);
    clickRow(1, file);
    EXPECT_EQ(m_form->ActivePane, 1);
    // 0xC7F5F1 and 0xE0E0E0 in blue-green-red order.
    EXPECT_EQ(m_form->LV1[1]->backgroundColor(), QColor(0xF1, 0xF5, 0xC7));
    EXPECT_EQ(tree(1)->palette().color(QPalette::Base), QColor(0xF1, 0xF5, 0xC7));
    EXPECT_EQ(m_form->LV1[0]->backgroundColor(), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(m_form->SelFile[1]->text(), QStringLiteral("a.txt"));
    EXPECT_EQ(rows(1).row(file).toolTip, rows(1).cellText(file, ColCreated));
    EXPECT_EQ(rows(1).row(file).foreColor, RowColor::Red);
    EXPECT_EQ(rows(1).row(file).smallImage, RowImage::SmallBlank);
    EXPECT_FALSE(m_form->LVOF->isEnabled()) << "a file row cannot be opened as a folder";
    EXPECT_EQ(m_form->LVVSE->text(), QStringLiteral("UnKnown"));

    clickRow(1, file);
    EXPECT_EQ(rows(1).row(file).foreColor, RowColor::Black);
    EXPECT_EQ(rows(1).row(file).smallImage, RowImage::SmallClicked);
    clickRow(1, file, Qt::RightButton);
    m_form->LVMenu->hide();
    EXPECT_EQ(rows(1).row(file).foreColor, RowColor::Black) << "only a click marks a row";

    const int folder = rowOf(0, "dir");
    clickRow(0, folder);
    EXPECT_EQ(m_form->ActivePane, 0);
    EXPECT_EQ(m_form->LV1[0]->backgroundColor(), QColor(0xF1, 0xF5, 0xC7));
    EXPECT_EQ(m_form->LV1[1]->backgroundColor(), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(rows(0).row(folder).foreColor, RowColor::Red) << "a blue folder row turns red";
    EXPECT_TRUE(m_form->LVOF->isEnabled());
    EXPECT_FALSE(m_form->LVVNotepad->isEnabled());
}

TEST_F(ListInteractionTest, ThirdViewerItemIsNamedFromTheClickedRowsType)
{
    std::vector<PaneRow> saved(2);
    const char* types[] = {"dwg", " File Folder"};
    for (size_t i = 0; i < saved.size(); ++i) {
        saved[i].texts = std::make_unique<RowTexts>();
        saved[i].texts->cells[ColName] = QStringLiteral("x");
        saved[i].texts->cells[ColType] = QString::fromLatin1(types[i]);
    }
    rows(0).setRows(std::move(saved));
    clickRow(0, 0);
    EXPECT_EQ(m_form->LVVSE->text(), QStringLiteral("AutoCAD"));
    EXPECT_FALSE(m_form->LVOF->isEnabled());
    clickRow(0, 1);
    EXPECT_EQ(m_form->LVVSE->text(), QStringLiteral("UnKnown"));
    EXPECT_TRUE(m_form->LVOF->isEnabled()) << "a type text that begins with a blank is a folder";
}

TEST_F(ListInteractionTest, RightButtonOpensTheActionMenuAtThePointer)
{
    QStringList items;
    for (QAction* action : m_form->LVMenu->actions())
        items << action->text().remove(u'&');
    EXPECT_EQ(items, QStringList({"Open Folder", "View", "Copy", "Move", "Delete", "Rename",
                                  "Attributes"}));
    EXPECT_EQ(m_form->LVMenu->title(), QStringLiteral("Action"));
    EXPECT_EQ(m_form->LVView->actions(),
              (QList<QAction*>{m_form->LVVNotepad, m_form->LVVWordpad, m_form->LVVSE}));
    EXPECT_EQ(m_form->LVVNotepad->text(), QStringLiteral("Notepad"));
    EXPECT_EQ(m_form->LVVWordpad->text(), QStringLiteral("Wordpad"));
    EXPECT_FALSE(m_form->LVRename->isEnabled()) << "renaming has no operation";

    const int folder = rowOf(1, "dir");
    const QPoint at = rowCenter(1, folder);
    QTest::mousePress(tree(1)->viewport(), Qt::RightButton, Qt::ShiftModifier, at);
    EXPECT_FALSE(m_form->LVMenu->isVisible()) << "not with Shift held";
    QTest::mouseRelease(tree(1)->viewport(), Qt::RightButton, Qt::ShiftModifier, at);

    QTest::mousePress(tree(1)->viewport(), Qt::RightButton, {}, at);
    ASSERT_TRUE(m_form->LVMenu->isVisible());
    EXPECT_EQ(m_form->LVMenu->defaultAction(), m_form->LVOF);
    EXPECT_EQ(m_form->LVMenu->pos(), tree(1)->viewport()->mapToGlobal(at));
    EXPECT_EQ(m_form->menuPane(), 1);
    EXPECT_EQ(m_form->menuRow(), folder);
    EXPECT_TRUE(m_form->LVOF->isEnabled());
    m_form->LVMenu->hide();
    QTest::mouseRelease(tree(1)->viewport(), Qt::RightButton, {}, at);

    // "Open Folder" lists the row's folder in the pane the menu was opened on.
    m_form->LVOF->trigger();
    EXPECT_EQ(m_form->panePath(1), m_tmp.pathOf("dir"));
    EXPECT_EQ(m_form->LVFC[1]->text(), QStringLiteral("1 Files, 0 Folders, 50 Bytes"));
    EXPECT_EQ(m_form->panePath(0), m_tmp.path());
}

TEST_F(ListInteractionTest, DoubleClickOpensAFolderByItsNativeNameAndALinkByItsOwnPath)
{
    doubleClickRow(0, rowOf(0, "a.txt"));
    EXPECT_EQ(m_form->panePath(0), m_tmp.path()) << "a file row opens nothing";

    doubleClickRow(0, rowOf(0, "caf\xe9"));
    EXPECT_EQ(m_form->panePath(0), m_tmp.pathOf("caf\xe9"));
    EXPECT_EQ(m_form->LVFC[0]->text(), QStringLiteral("1 Files, 0 Folders, 3 Bytes"));

    doubleClickRow(1, rowOf(1, "link"));
    EXPECT_EQ(m_form->panePath(1), m_tmp.pathOf("link"));
    EXPECT_EQ(m_form->LVPATH[1]->text(), QString::fromStdString(m_tmp.pathOf("link")));
    EXPECT_EQ(m_form->LVFC[1]->text(), QStringLiteral("1 Files, 0 Folders, 50 Bytes"));
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
}

TEST_F(ListInteractionTest, ViewerItemsOpenTheRowsFileOrSaySoWhenTheyCannot)
{
    const int odd = rowOf(0, "caf\xe9.txt");
    clickRow(0, odd);
    ASSERT_TRUE(m_form->LVVNotepad->isEnabled());
    m_form->LVVNotepad->trigger();
    m_form->LVVWordpad->trigger();
    m_form->LVVSE->trigger();
    ASSERT_EQ(m_launcher->opened.size(), 3u);
    EXPECT_EQ(m_launcher->opened[0], m_tmp.pathOf("caf\xe9.txt"));
    EXPECT_EQ(m_launcher->opened[2], m_tmp.pathOf("caf\xe9.txt"));
    EXPECT_TRUE(m_prompts->messages().isEmpty());

    m_launcher->succeeds = false;
    clickRow(0, rowOf(0, "a.txt"));
    m_form->LVVNotepad->trigger();
    EXPECT_EQ(m_prompts->messages(),
              QStringList{"Could not open a.txt: no application is set up to open it."});

    // A blank row names no file: nothing is started.
    std::vector<PaneRow> blank(1);
    blank[0].texts = std::make_unique<RowTexts>();
    blank[0].texts->cells[ColName] = QStringLiteral(" ");
    rows(1).setRows(std::move(blank));
    m_prompts->clear();
    clickRow(1, 0);
    m_form->LVVWordpad->trigger();
    EXPECT_EQ(m_launcher->opened.size(), 4u);
    EXPECT_EQ(m_prompts->messages(),
              QStringList{"\" \" is not a single file name, so it cannot be opened."});
}

TEST_F(ListInteractionTest, DesktopThatCannotOpenFilesGivesTheMessage)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "only the offscreen platform is sure to have no opener";
    // A window with its own launcher: the offscreen platform opens no documents.
    MainForm fresh(MainFormOptions{m_prompts, {}});
    fresh.LV1_ItemClick(0, int(fresh.LV1Rows[0]->rowCount()) - 1);
    m_prompts->clear();
    fresh.LVVNotepad->trigger();
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].startsWith(QStringLiteral("Could not open ")));
}

} // namespace
} // namespace vennic
