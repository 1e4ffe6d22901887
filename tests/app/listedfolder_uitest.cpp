// Commands act in the very folder, on the very files, that a pane listed, whatever another
// process does to the folder between the listing and the act, and inside the question.
#include "fileops/fileatts.h"
#include "platform/tavbutton.h"
#include "support/formfixture.h"

#include <QCheckBox>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace vennic {
namespace {

using test::TempFolder;
const QString NoLonger = QStringLiteral("is no longer the folder the pane lists; list it again");

class ListedFolderTest : public test::FormFixture {
public:
    void prepare() override
    {
        m_tmp.fileWithContent("left/f.txt", "shown");
        m_tmp.fileWithContent("left/g.txt", "shown too");
        m_tmp.fileWithContent("right/keep.txt", "right's");
        m_tmp.fileWithContent("other/f.txt", "other's");
        m_tmp.fileWithContent("other/g.txt", "other's too");
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        list(0, m_tmp.pathOf("left"));
        list(1, m_tmp.pathOf("right"));
        m_form->ActivePane = 0;
        m_prompts->clear();
    }
    void rename(const std::string& from, const std::string& to)
    {
        std::filesystem::rename(m_tmp.pathOf(from), m_tmp.pathOf(to));
    }
    void swapForLink(const std::string& folder)
    {
        rename(folder, folder + ".old");
        m_tmp.symlink(folder, m_tmp.pathOf("other"));
    }
    void makeAgain(const std::string& folder)
    {
        rename(folder, folder + ".old");
        m_tmp.fileWithContent(folder + "/f.txt", "new");
        m_tmp.fileWithContent(folder + "/g.txt", "new too");
    }
    std::string content(const std::string& relative)
    {
        return TempFolder::readAll(m_tmp.pathOf(relative));
    }
    QString lastMessage() const
    {
        const QStringList all = m_prompts->messages();
        return all.isEmpty() ? QString() : all.last();
    }
};

TEST_F(ListedFolderTest, DeleteAndDeleteAllActOnlyInTheListedFolderWhateverHappensInTheQuestion)
{
    const struct {
        const char* what;
        std::function<void(ListedFolderTest&)> change;
        const char* untouched; ///< a folder whose files must all stay
    } changes[] = {
        {"swapped for a link", [](ListedFolderTest& t) { t.swapForLink("left"); }, "other"},
        {"made again", [](ListedFolderTest& t) { t.makeAgain("left"); }, "left"},
    };
    for (const bool all : {false, true}) {
        for (const auto& c : changes) {
            SCOPED_TRACE(std::string(c.what) + (all ? " (DA)" : " (Delete)"));
            list(0, m_tmp.pathOf("left"));
            m_prompts->clear();
            if (!all) {
                select(0, "f.txt");
                m_form->LVDelete_Click();
            }
            m_prompts->duringNextConfirm([&] { c.change(*this); });
            m_prompts->answerConfirm(true);
            all ? m_form->DelAllBtn_Click() : m_form->DelBtn_Click();
            EXPECT_TRUE(lastMessage().contains(NoLonger)) << lastMessage().toStdString();
            EXPECT_EQ(TempFolder::namesIn(m_tmp.pathOf(c.untouched)).size(), 2u);
            EXPECT_EQ(content("left.old/f.txt"), "shown");
            // Put the folders back as they were for the next case.
            std::filesystem::remove_all(m_tmp.pathOf("left"));
            rename("left.old", "left");
        }
    }
}

TEST_F(ListedFolderTest, CopyAndAttributesRefuseASwappedFolder)
{
    // The destination swapped for a link to another folder.
    select(0, "f.txt");
    m_form->LVCopy_Click();
    swapForLink("right");
    m_form->CopyBtn_Click();
    EXPECT_TRUE(lastMessage().contains(NoLonger)) << lastMessage().toStdString();
    EXPECT_EQ(content("other/f.txt"), "other's");

    std::filesystem::remove(m_tmp.pathOf("right"));
    rename("right.old", "right");

    // The folder swapped while the attribute dialog is open: nothing is written anywhere.
    select(0, "g.txt");
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        FileAtts* dialog = m_form->fileAttsForm();
        ASSERT_TRUE(dialog && dialog->isVisible());
        swapForLink("left");
        dialog->AtRO->setChecked(true);
        dialog->SetBtn->click();
    });
    m_form->LVAttributes_Click();
    EXPECT_TRUE(lastMessage().contains(NoLonger)) << lastMessage().toStdString();
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("other/g.txt")), 0644u);
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("left.old/g.txt")), 0644u);
}

TEST_F(ListedFolderTest, NamesWithEveryControlByteAreListedCopiedChangedAndDeleted)
{
    std::vector<std::string> names;
    for (int byte = 1; byte < 32; ++byte)
        names.push_back(std::string("c") + char(byte) + ".txt");
    names.push_back("c\x7f.txt");
    names.push_back("line\nbreak.txt");
    for (const std::string& name : names)
        m_tmp.fileWithContent("ctl/" + name, name);
    m_tmp.folder("ctl/sub\tfolder");
    list(0, m_tmp.pathOf("ctl"));
    ASSERT_EQ(rows(0).rowCount(), int(names.size()) + 1);

    // The folder whose name holds a tab is entered from its row and listed.
    m_form->openFolderRow(0, rowOf(0, "sub\tfolder"));
    EXPECT_EQ(m_form->PaneRowsFolder[0].path(), m_tmp.pathOf("ctl/sub\tfolder"));
    list(0, m_tmp.pathOf("ctl"));

    select(0, "line\nbreak.txt");
    m_form->LVCopy_Click();
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("right/line\nbreak.txt"), "line\nbreak.txt");

    select(0, "c\t.txt");
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        FileAtts* dialog = m_form->fileAttsForm();
        ASSERT_TRUE(dialog && dialog->isVisible());
        dialog->AtRO->setChecked(true);
        dialog->SetBtn->click();
    });
    m_form->LVAttributes_Click();
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("ctl/c\t.txt")), 0444u);

    m_prompts->clear();
    m_prompts->answerConfirm(true);
    m_form->DelAllBtn_Click();
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << lastMessage().toStdString();
    EXPECT_EQ(TempFolder::namesIn(m_tmp.pathOf("ctl")), std::vector<std::string>{"sub\tfolder"});
}

TEST_F(ListedFolderTest, RowsThatStandForNothingAreNeverActedOn)
{
    // "--" stands for a left name the right folder does not hold; a real file of that name
    // must survive a delete and an attribute change of the row.
    m_tmp.fileWithContent("right/--", "a real file");
    m_form->RemBtn_Click();
    const int row = rowOf(1, "");
    ASSERT_EQ(rows(1).cellText(row, ColName), "--");
    m_form->ActivePane = 1;
    m_form->LV1[1]->setCurrentRow(row);
    m_form->LVDelete_Click();
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_EQ(content("right/--"), "a real file");
    EXPECT_TRUE(lastMessage().contains("stands for no file")) << lastMessage().toStdString();
}

TEST_F(ListedFolderTest, AListedFolderHoldsNothingOpen)
{
    m_tmp.file("left/sub/inner.bin", 1000);
    list(0, m_tmp.pathOf("left"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->paneSizing(0); }, 5000));
    const std::filesystem::path left = m_tmp.pathOf("left");
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(fd.path(), error);
        EXPECT_FALSE(!error && target.native().rfind(left.native(), 0) == 0) << target;
    }
}

} // namespace
} // namespace vennic
