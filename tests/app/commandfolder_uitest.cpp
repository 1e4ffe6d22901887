// File commands act only on what the panes show: the folder each pane's rows belong to, never
// the path box's present text, and never a name or folder holding a control character.
#include "listing/controlchars.h"
#include "support/formfixture.h"
#include "ui/fileatts.h"
#include "ui/tavbutton.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <initializer_list>

namespace vennic {
namespace {

using test::TempFolder;

/// A saved listing's bytes: the path and count lines, then one line of seven fields a row.
std::string savedListing(const std::string& pathLine, std::initializer_list<std::string> names)
{
    std::string text = pathLine + "\r\n1 Files, 0 Folders, 5 Bytes\r\n";
    for (const std::string& name : names)
        text += name + "\x02Text Document\x02              5\x02\x02\x02\x02\r\n";
    return text;
}

class CommandFolderTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.fileWithContent("a/shown.txt", "a's");
        m_tmp.fileWithContent("a/keep.txt", "keep");
        m_tmp.fileWithContent("a/ro.txt", "ro", 0644);
        m_tmp.fileWithContent("b/shown.txt", "b's");
        m_tmp.fileWithContent("b/keep.txt", "b keep");
        m_tmp.fileWithContent("shown.txt", "working folder's");
        m_tmp.fileWithContent("victim/thesis.txt", "years of work");
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        list(0, m_tmp.pathOf("a"));
        list(1, m_tmp.pathOf("b"));
        m_prompts->clear();
    }
    /// Types into a pane's path box as a user does: the box's text is replaced, nothing listed.
    void type(int pane, const QString& text)
    {
        QLineEdit* box = m_form->LVPATH[size_t(pane)];
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    void markForDelete(int pane, const std::string& name)
    {
        select(pane, name);
        m_form->LVDelete_Click();
    }
    /// Opens a saved listing file into the active pane.
    void open(const std::string& bytes)
    {
        const std::string file = m_tmp.fileWithContent("saved.tav", bytes);
        m_prompts->answerFile(QString::fromStdString(file));
        m_form->M1Open_Click();
    }
    int textRow(int pane, const QString& text)
    {
        for (int i = 0; i < rows(pane).rowCount(); ++i)
            if (rows(pane).cellText(i, ColName) == text)
                return i;
        ADD_FAILURE() << "no row " << text.toStdString();
        return -1;
    }
    std::string content(const std::string& relative)
    {
        return TempFolder::readAll(m_tmp.pathOf(relative));
    }
    /// Runs `command`; when it shows the attributes dialog, `act` works it and closes it.
    /// Returns whether the dialog showed.
    bool withAttributesDialog(const std::function<void(FileAtts&)>& act,
                              const std::function<void()>& command)
    {
        bool shown = false;
        // The answer dies with this call, so it cannot reach a later command or test.
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            if (FileAtts* dialog = m_form->fileAttsForm(); dialog && dialog->isVisible()) {
                shown = true;
                act(*dialog);
                if (dialog->isVisible())
                    dialog->reject();
            }
        });
        command();
        return shown;
    }
    /// The attributes command, ticking read-only and pressing "Set" if its dialog shows.
    bool attributesTickingReadOnly()
    {
        return withAttributesDialog(
            [](FileAtts& dialog) {
                dialog.AtRO->setChecked(true);
                dialog.SetBtn->click();
            },
            [this] { m_form->LVAttributes_Click(); });
    }
    QString lastMessage() const
    {
        const QStringList all = m_prompts->messages();
        return all.isEmpty() ? QString() : all.last();
    }
};

TEST_F(CommandFolderTest, ATypedPathIsNeverActedOnUntilItIsListed)
{
    markForDelete(0, "shown.txt");
    type(0, path("b"));
    EXPECT_EQ(rows(0).rowCount(), 3) << "typing lists nothing";

    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_EQ(content("b/shown.txt"), "b's") << "the file in the typed folder was never shown";
    EXPECT_EQ(content("a/shown.txt"), "a's");
    EXPECT_TRUE(lastMessage().contains(path("b"))) << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().contains(path("a")));
    EXPECT_EQ(m_prompts->shown().front().kind, "message") << "refused before the question";

    // "DA" and "Copy" refuse alike, with the marks kept for another try.
    m_prompts->clear();
    m_prompts->answerConfirm(true);
    m_form->DelAllBtn_Click();
    EXPECT_EQ(content("a/keep.txt"), "keep");
    select(0, "keep.txt");
    m_form->LVCopy_Click();
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("b/keep.txt"), "b keep");
    EXPECT_EQ(rows(0).row(rowOf(0, "keep.txt")).smallImage, RowImage::SmallCopyLeft);
    EXPECT_EQ(m_prompts->messages().size(), 2);

    // An edited destination box refuses the copy too.
    type(0, path("a"));
    type(1, path("victim"));
    m_form->CopyBtn_Click();
    EXPECT_FALSE(TempFolder::exists(m_tmp.pathOf("victim/keep.txt")));
    EXPECT_FALSE(TempFolder::exists(m_tmp.pathOf("b/keep.txt.copy")));

    // Enter lists the folder the box names; then the commands act on it.
    QTest::keyClick(m_form->LVPATH[1], Qt::Key_Return);
    EXPECT_EQ(m_form->ActivePane, 1);
    EXPECT_EQ(names(1, false), (std::set<QString>{"thesis.txt"}));
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("victim/keep.txt"), "keep");
}

TEST_F(CommandFolderTest, ConfirmationsNameTheFolderTheyActOn)
{
    markForDelete(0, "shown.txt");
    m_prompts->answerConfirm(false);
    m_form->DelBtn_Click();
    ASSERT_EQ(m_prompts->shown().size(), 1u);
    EXPECT_EQ(m_prompts->shown().front().kind, "confirm");
    EXPECT_TRUE(m_prompts->shown().front().text.contains(path("a")))
        << m_prompts->shown().front().text.toStdString();
    EXPECT_EQ(content("a/shown.txt"), "a's");

    m_prompts->clear();
    m_prompts->answerConfirm(false);
    m_form->ActivePane = 1;
    m_form->DelAllBtn_Click();
    ASSERT_FALSE(m_prompts->shown().empty());
    EXPECT_TRUE(m_prompts->shown().back().text.contains(path("b")));
    EXPECT_EQ(content("b/keep.txt"), "b keep");
}

TEST_F(CommandFolderTest, AnEmptiedBoxRefusesEveryCommandAndListsNothing)
{
    const int row = select(0, "ro.txt");
    type(0, QString());
    EXPECT_FALSE(attributesTickingReadOnly());
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("shown.txt")), 0644u);
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("a/ro.txt")), 0644u);
    EXPECT_EQ(rows(0).cellText(row, ColName), "ro.txt");

    m_prompts->clear();
    QTest::keyClick(m_form->LVPATH[0], Qt::Key_Return);
    EXPECT_EQ(rows(0).rowCount(), 0);
    EXPECT_EQ(m_prompts->messages().size(), 1);
    m_form->LVDelete_Click(); // no row: nothing is marked
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("shown.txt"), "working folder's");
    EXPECT_EQ(content("a/shown.txt"), "a's");
}

TEST_F(CommandFolderTest, OpeningARowActsOnTheListedFolderWhileTheBoxIsEdited)
{
    m_tmp.fileWithContent("a/sub/inner.txt", "x");
    m_tmp.fileWithContent("b/sub/other.txt", "y");
    m_form->GetListing(0);
    type(0, path("b"));
    m_form->openFolderRow(0, rowOf(0, "sub"));
    EXPECT_EQ(m_form->LVPATH[0]->text(), path("a/sub"));
    EXPECT_EQ(names(0, false), (std::set<QString>{"inner.txt"}));
}

TEST_F(CommandFolderTest, ASavedPathLineWithANulDeletesNothingOutsideThePane)
{
    // The path line reads ".../victim/thesis.txt", U+0000, "/x": system calls would stop at the
    // U+0000, so deleting "junk.tmp" inside it would delete thesis.txt.
    m_form->ActivePane = 0;
    open(savedListing(m_tmp.pathOf("victim/thesis.txt") + std::string(1, '\0') + "/x",
                      {"junk.tmp"}));
    ASSERT_EQ(rows(0).rowCount(), 1);
    EXPECT_FALSE(hasControlCharacter(m_form->LVPATH[0]->text())) << "shown with a visible mark";
    EXPECT_TRUE(m_form->LVPATH[0]->text().contains(QChar::ReplacementCharacter));
    m_form->LV1[0]->setCurrentRow(0);
    m_form->LVDelete_Click();
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_EQ(content("victim/thesis.txt"), "years of work");
    EXPECT_FALSE(lastMessage().isEmpty());

    // The same path without the U+0000 is a folder the rows may belong to.
    open(savedListing(m_tmp.pathOf("a"), {"keep.txt"}));
    EXPECT_EQ(m_form->PaneRowsFolder[0].path(), std::optional<NativeString>(m_tmp.pathOf("a")));
    // A relative path line names no folder: it would be read from the working folder.
    open(savedListing("a", {"keep.txt"}));
    EXPECT_FALSE(m_form->PaneRowsFolder[0].folder());
}

TEST_F(CommandFolderTest, RowsHoldingControlCharactersAreRefusedAndReported)
{
    const std::string nul(1, '\0');
    m_form->ActivePane = 0;
    open(savedListing(m_tmp.pathOf("a"),
                      {"keep.txt" + nul + " (copy)", "ro.txt" + nul + ".x", "shown.txt"}));
    ASSERT_EQ(rows(0).rowCount(), 3);
    const QString keep = QStringLiteral("keep.txt") + QChar(0) + QStringLiteral(" (copy)");
    const QString ro = QStringLiteral("ro.txt") + QChar(0) + QStringLiteral(".x");
    // The list shows what the text holds.
    const QModelIndex cell = rows(0).index(textRow(0, keep), ColName);
    EXPECT_EQ(rows(0).data(cell, Qt::DisplayRole).toString(),
              QStringLiteral("keep.txt\uFFFD (copy)"));

    m_form->LV1[0]->setCurrentRow(textRow(0, keep));
    m_form->LVDelete_Click();
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_EQ(content("a/keep.txt"), "keep");
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("control character")))
        << lastMessage().toStdString();
    EXPECT_FALSE(hasControlCharacter(lastMessage().remove(u'\n')));

    // "Copy" would overwrite another file of the right folder.
    open(savedListing(m_tmp.pathOf("a"), {"keep.txt" + nul + " (copy)"}));
    m_form->LV1[0]->setCurrentRow(0);
    m_form->LVCopy_Click();
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("b/keep.txt"), "b keep");

    // The attributes of another file would change.
    open(savedListing(m_tmp.pathOf("a"), {"ro.txt" + nul + ".x"}));
    m_form->LV1[0]->setCurrentRow(0);
    EXPECT_FALSE(attributesTickingReadOnly());
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("a/ro.txt")), 0644u);
    EXPECT_NE(lastMessage().indexOf(withVisibleControls(ro)), -1) << lastMessage().toStdString();
}

TEST_F(CommandFolderTest, ASavedListingNamesTheRowsFolderNotAnEditedBox)
{
    // Saved while the box reads another folder, the file would later make the rows of "a"
    // belong to "victim".
    type(0, path("victim"));
    m_form->ActivePane = 0;
    const std::string file = m_tmp.pathOf("out.tav");
    m_prompts->answerFile(QString::fromStdString(file));
    m_form->M1Save_Click();
    const std::string saved = TempFolder::readAll(file);
    EXPECT_EQ(saved.substr(0, saved.find("\r\n")), m_tmp.pathOf("a"));
}

TEST_F(CommandFolderTest, ATypedPathWithAControlCharacterIsNotListed)
{
    QLineEdit* box = m_form->LVPATH[0];
    box->setText(path("b") + QChar(0) + QStringLiteral("/x"));
    m_form->clearPaneNativePath(0);
    m_form->LVPATH_Enter(0);
    EXPECT_EQ(rows(0).rowCount(), 0) << "the folder before the U+0000 is not listed";
    EXPECT_FALSE(m_form->PaneRowsFolder[0].folder());
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("control character")));
}

TEST_F(CommandFolderTest, RightClickActsWhereItWasPressed)
{
    ASSERT_TRUE(showForm());
    m_form->ActivePane = 1;
    QTreeView* view = m_form->LV1[0]->reportView();
    const int row = rowOf(0, "keep.txt");
    view->scrollTo(rows(0).index(row, 0));
    const QPoint at = view->visualRect(rows(0).index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, at);
    EXPECT_EQ(m_form->ActivePane, 0);
    EXPECT_EQ(m_form->LV1[0]->currentRow(), row);
    EXPECT_EQ(m_form->LV1[0]->selectedRows(), std::vector<int>{row});
    EXPECT_EQ(rows(0).row(row).foreColor, RowColor::Black) << "no click mark";
    EXPECT_EQ(m_form->SelFile[0]->text(), "keep.txt");
    ASSERT_TRUE(m_form->LVCopy->isEnabled());
    m_form->LVCopy->trigger();
    m_form->LVMenu->hide();
    EXPECT_EQ(rows(0).row(row).smallImage, RowImage::SmallCopyLeft);

    // Over no row the menu offers nothing that acts on a row, not even the current one.
    const QPoint below(at.x(), view->viewport()->height() - 2);
    ASSERT_FALSE(view->indexAt(below).isValid());
    QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, below);
    for (QAction* item : {m_form->LVCopy, m_form->LVDelete, m_form->LVAttributes, m_form->LVOF})
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    m_form->LVMenu->hide();
}

TEST_F(CommandFolderTest, TheSelectedItemLabelFollowsTheKeyboardAndOpensThatRow)
{
    ASSERT_TRUE(showForm());
    m_form->ActivePane = 0;
    QTreeView* view = m_form->LV1[0]->reportView();
    view->setFocus();
    m_form->LV1[0]->setCurrentRow(0);
    QTest::keyClick(view, Qt::Key_Down);
    const int row = m_form->LV1[0]->currentRow();
    ASSERT_EQ(row, 1);
    const QString name = rows(0).cellText(row, ColName);
    EXPECT_EQ(m_form->SelFile[0]->text(), name);

    QString shownName;
    m_form->ActivePane = 1;
    withAttributesDialog(
        [&](FileAtts& dialog) {
            shownName = dialog.SelFileName->text();
            dialog.CancelBtn->click();
        },
        [&] { m_form->SelFile_Click(0); });
    EXPECT_EQ(shownName, name);
    EXPECT_EQ(m_form->ActivePane, 0);
}

TEST_F(CommandFolderTest, ASavedListingsRowActsOnlyOnTheFileItShows)
{
    const std::string saved = m_tmp.pathOf("a.tav");
    m_form->ActivePane = 0;
    m_prompts->answerFile(QString::fromStdString(saved));
    m_form->M1Save_Click();
    const struct {
        const char* name;
        std::function<void()> change;
        const char* says; ///< in the message; nothing when the file goes
    } cases[] = {
        {"keep.txt", [] {}, nullptr},
        {"shown.txt", [this] { m_tmp.fileWithContent("a/shown.txt", "a's, and grown"); },
         "changed since the listing was saved"},
        {"ro.txt", [this] { std::filesystem::remove(m_tmp.pathOf("a/ro.txt")); },
         "no longer there"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompts->clear();
        m_prompts->answerFile(QString::fromStdString(saved));
        m_form->M1Open_Click();
        const int row = textRow(0, QString::fromUtf8(c.name));
        m_form->LV1[0]->setCurrentRow(row);
        m_form->LVDelete_Click();
        c.change();
        m_prompts->answerConfirm(true);
        m_form->DelBtn_Click();
        if (!c.says) {
            EXPECT_FALSE(TempFolder::exists(m_tmp.pathOf(std::string("a/") + c.name)));
            EXPECT_TRUE(m_prompts->messages().isEmpty()) << lastMessage().toStdString();
        } else {
            EXPECT_TRUE(lastMessage().contains(c.says)) << lastMessage().toStdString();
        }
    }
    EXPECT_EQ(content("a/shown.txt"), "a's, and grown");
}

} // namespace
} // namespace vennic
