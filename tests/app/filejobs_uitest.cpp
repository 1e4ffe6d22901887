// File commands running on their worker while the window goes on: the progress strip, Stop
// within a copy and between deletes, a second command, a listing of a held pane, and a close.
#include "fileops/filejob.h"
#include "support/formfixture.h"
#include "support/gatedfilesystem.h"
#include "ui/sizingstrip.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace vennic {
namespace {

class FileJobsTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.fileWithContent("left/a.txt", "new a");
        m_tmp.fileWithContent("left/b.txt", std::string(9 << 20, 'b')); // more than one block
        m_tmp.fileWithContent("left/c.txt", "c");
        m_tmp.fileWithContent("right/b.txt", "old b");
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        // The commands run on their worker at once, as a long one does.
        MainFormOptions options = FormFixture::options(m_prompts);
        options.fileJobWait = std::chrono::milliseconds(0);
        options.fileSystemFactory = [this] {
            return std::make_unique<test::GatedFileSystem>(
                makeSystemFileSystem([](const NativeString&) { return std::string("File"); }),
                m_gate);
        };
        m_form = std::make_unique<MainForm>(std::move(options));
        list(0, m_tmp.pathOf("left"));
        list(1, m_tmp.pathOf("right"));
        // The commands walk the rows in their order: a, b, c.
        rows(0).sortBy(ColName, Qt::AscendingOrder);
    }
    void TearDown() override
    {
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            m_gate.release(name);
        FormFixture::TearDown();
    }
    void markAll(int pane, void (MainForm::*item)())
    {
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            select(pane, name);
            (m_form.get()->*item)();
        }
    }
    /// Copies a, b and c to the right pane, replacing right/b.txt, and holds the copy in b.
    bool copyHeldWithinB()
    {
        markAll(0, &MainForm::LVCopy_Click);
        m_gate.hold("b.txt");
        m_prompts->answerChoice(0);
        m_form->CopyBtn_Click();
        return m_gate.waitUntilHeldAt("b.txt");
    }
    /// Lets the window go on until `done` holds; false when it did not within ten seconds.
    static bool waitUntil(const std::function<bool()>& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 10000)
            QTest::qWait(5);
        return done();
    }
    bool waitForEnd()
    {
        return waitUntil([this] { return !m_form->jobRunning(); });
    }
    std::set<std::string> namesIn(const std::string& relative)
    {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_tmp.pathOf(relative)))
            found.insert(entry.path().filename().string());
        return found;
    }

    test::FileGate m_gate;
};

TEST_F(FileJobsTest, StopWithinACopyLeavesItsFileAsItWasAndSaysWhatWasNotCopied)
{
    ASSERT_TRUE(copyHeldWithinB());
    EXPECT_TRUE(m_form->jobRunning());

    // After half a second the strip over the left pane's count line says how far it is.
    SizingStrip& strip = *m_form->JobStrip[0];
    ASSERT_TRUE(waitUntil([&] { return !strip.isHidden(); }));
    EXPECT_EQ(strip.barText(), "1 of 3 files");
    EXPECT_GT(strip.barFraction(), 0.5) << "the bar fills by the bytes copied, most in b.txt";
    EXPECT_TRUE(strip.detailText().startsWith("Copying b.txt: "))
        << strip.detailText().toStdString();

    QElapsedTimer stopped;
    stopped.start();
    strip.stopButton()->click();
    ASSERT_TRUE(waitForEnd());
    EXPECT_LT(stopped.elapsed(), 1000);

    EXPECT_EQ(test::TempFolder::readAll(m_tmp.pathOf("right/a.txt")), "new a");
    EXPECT_EQ(test::TempFolder::readAll(m_tmp.pathOf("right/b.txt")), "old b");
    // No temporary and no half file is left, and the file after it was not begun.
    EXPECT_EQ(namesIn("right"), (std::set<std::string>{"a.txt", "b.txt"}));
    ASSERT_EQ(m_prompts->messages().size(), 1);
    const QString message = m_prompts->messages().front();
    EXPECT_TRUE(message.startsWith("Copying stopped. Done: 1; not done: 2."))
        << message.toStdString();
    EXPECT_TRUE(message.contains("\nb.txt\nc.txt"));
    EXPECT_TRUE(strip.isHidden());
    EXPECT_EQ(m_form->LVFC[1]->text(), "2 Files, 0 Folders, 10 Bytes");
}

TEST_F(FileJobsTest, WhileADeleteRunsTheWindowGoesOnAndAStopEndsItBetweenFiles)
{
    markAll(0, &MainForm::LVDelete_Click);
    m_gate.hold("b.txt");
    m_prompts->answerConfirm(true);
    m_form->ActivePane = 0;
    m_form->DelBtn_Click();
    ASSERT_TRUE(m_gate.waitUntilHeldAt("b.txt"));

    // A second file command is refused with a word; the other pane lists; the job's own pane
    // keeps its rows until the job ends, and may be sorted meanwhile.
    m_prompts->clear();
    m_form->CopyBtn_Click();
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages().front().startsWith("A file command is still running"));
    m_prompts->clear();
    m_tmp.fileWithContent("right/new.txt", "n");
    m_form->GetListing(1);
    EXPECT_GE(rowOf(1, "new.txt"), 0);
    const int leftRows = rows(0).rowCount();
    m_form->GetListing(0);
    EXPECT_EQ(rows(0).rowCount(), leftRows);
    rows(0).sortBy(ColBytes, Qt::DescendingOrder);

    m_form->stopJob();
    m_gate.release("b.txt");
    ASSERT_TRUE(waitForEnd());
    // The file being deleted when the stop came is gone; the one after it stays.
    EXPECT_EQ(namesIn("left"), (std::set<std::string>{"c.txt"}));
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_EQ(m_prompts->messages().front(), "Deleting stopped. Done: 2; not done: 1.\nc.txt");
    // Listed again once the job ended.
    EXPECT_EQ(rows(0).rowCount(), 1);
}

TEST_F(FileJobsTest, ClosingDuringAJobAsksAndAStopEndsItAtOnce)
{
    ASSERT_TRUE(copyHeldWithinB());
    ASSERT_TRUE(showForm());

    m_prompts->answerConfirm(false); // "Go on"
    m_form->close();
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_TRUE(m_form->jobRunning());

    m_prompts->answerConfirm(true);
    QElapsedTimer timer;
    timer.start();
    m_form->close();
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_FALSE(m_form->jobRunning());
    EXPECT_EQ(test::TempFolder::readAll(m_tmp.pathOf("right/b.txt")), "old b");
    EXPECT_EQ(namesIn("right"), (std::set<std::string>{"a.txt", "b.txt"}));
}

} // namespace
} // namespace vennic
