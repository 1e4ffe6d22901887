// Commands act in the very folder, on the very files, that a pane listed, whatever another
// process does to the folder between the listing and the act, and inside the question.
#include "support/formfixture.h"
#include "ui/fileatts.h"
#include "ui/tavbutton.h"

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
        for (const char* f : {"left/f.txt", "left/g.txt", "other/f.txt", "other/g.txt"})
            m_tmp.fileWithContent(f, f);
        m_tmp.folder("right");
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        list(1, m_tmp.pathOf("right"));
        m_prompts->clear();
    }
    void run(const std::string& shell)
    {
        ASSERT_EQ(std::system(("cd " + m_tmp.path() + " && " + shell).c_str()), 0) << shell;
    }
    /// Ticks read-only in the attribute dialog of the selected row, running `meanwhile` while
    /// the dialog is open.
    void setReadOnly(const std::function<void()>& meanwhile)
    {
        QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            FileAtts* dialog = m_form->fileAttsForm();
            ASSERT_TRUE(dialog && dialog->isVisible());
            meanwhile();
            dialog->AtRO->setChecked(true);
            dialog->SetBtn->click();
        });
        m_form->LVAttributes_Click();
    }
    QString lastMessage() const
    {
        const QStringList all = m_prompts->messages();
        return all.isEmpty() ? QString() : all.last();
    }
};

TEST_F(ListedFolderTest, CommandsActOnlyInTheListedFolderWhateverHappensInTheirQuestion)
{
    for (const char* change : {"mv left left.old && ln -s other left",
                               "mv left left.old && mkdir left && echo new > left/f.txt"}) {
        for (const char* command : {"Delete", "DA", "Attributes"}) {
            SCOPED_TRACE(std::string(command) + " after " + change);
            list(0, m_tmp.pathOf("left"));
            m_prompts->clear();
            const auto meanwhile = [&] { run(change); };
            select(0, "f.txt");
            if (command == std::string("Attributes")) {
                setReadOnly(meanwhile);
            } else {
                m_prompts->duringNextQuestion(meanwhile);
                m_prompts->answerConfirm(true);
                if (command == std::string("DA")) {
                    m_form->DelAllBtn_Click();
                } else {
                    m_form->LVDelete_Click();
                    m_form->DelBtn_Click();
                }
            }
            EXPECT_TRUE(lastMessage().contains(NoLonger)) << lastMessage().toStdString();
            // Neither the folder shown nor the one now under its name changed.
            for (const char* f : {"left.old/f.txt", "left.old/g.txt", "left/f.txt", "other/g.txt"})
                EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf(f)), 0644u) << f;
            run("rm -rf left && mv left.old left");
        }
    }
    // Copy's destination swapped for a link to another folder.
    list(0, m_tmp.pathOf("left"));
    select(0, "f.txt");
    m_form->LVCopy_Click();
    run("mv right right.old && ln -s other right");
    m_form->CopyBtn_Click();
    EXPECT_TRUE(lastMessage().contains(NoLonger)) << lastMessage().toStdString();
    EXPECT_EQ(TempFolder::readAll(m_tmp.pathOf("other/f.txt")), "other/f.txt");
}

TEST_F(ListedFolderTest, NamesWithEveryControlByteAreListedCopiedAndDeleted)
{
    std::vector<std::string> names{"c\x7f.txt", "line\nbreak.txt"};
    for (int byte = 1; byte < 32; ++byte)
        names.push_back(std::string("c") + char(byte) + ".txt");
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
    EXPECT_EQ(TempFolder::readAll(m_tmp.pathOf("right/line\nbreak.txt")), "line\nbreak.txt");
    m_prompts->clear();
    m_prompts->answerConfirm(true);
    m_form->DelAllBtn_Click();
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << lastMessage().toStdString();
    EXPECT_EQ(TempFolder::namesIn(m_tmp.pathOf("ctl")), std::vector<std::string>{"sub\tfolder"});
}

TEST_F(ListedFolderTest, RowsThatStandForNothingAreNeverActedOn)
{
    // "--" stands for a left name the right folder does not hold; a real file of that name
    // must survive a delete of the row.
    list(0, m_tmp.pathOf("left"));
    m_tmp.fileWithContent("right/--", "a real file");
    m_form->RemBtn_Click();
    m_form->ActivePane = 1;
    m_form->LV1[1]->setCurrentRow(rowOf(1, ""));
    m_form->LVDelete_Click();
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_EQ(TempFolder::readAll(m_tmp.pathOf("right/--")), "a real file");
    EXPECT_TRUE(lastMessage().contains("stands for no file")) << lastMessage().toStdString();
}

TEST_F(ListedFolderTest, AListedFolderHoldsNothingOpen)
{
    m_tmp.file("left/sub/inner.bin", 1000);
    list(0, m_tmp.pathOf("left"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->paneSizing(0); }, 5000));
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(fd.path(), error).native();
        EXPECT_NE(target.rfind(m_tmp.pathOf("left"), 0), 0u) << target;
    }
}

} // namespace
} // namespace vennic
