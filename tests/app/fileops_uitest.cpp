// The main window's file commands on real temporary folders: marks, "Copy", "Delete" with its
// question, "DA", "R", "Comp" and the column alignment behind the warning.
#include "support/formfixture.h"
#include "ui/alertform.h"
#include "ui/panelistview.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <tuple>

namespace vennic {
namespace {

class FileOpsFormTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.fileWithContent("left/a.txt", "new a");
        m_tmp.fileWithContent("left/b.txt", "b");
        m_tmp.fileWithContent("left/c.txt", "c");
        m_tmp.fileWithContent("left/caf\xe9.txt", "bytes");
        m_tmp.file("left/sub/inner.txt", 3);
        m_tmp.fileWithContent("right/a.txt", "old a");
        m_tmp.fileWithContent("right/r.txt", "r");
    }
    void SetUp() override
    {
        FormFixture::SetUp();
        show(0, "left");
        show(1, "right");
    }
    void show(int pane, const std::string& relative) { list(pane, m_tmp.pathOf(relative)); }
    int image(int pane, const std::string& name)
    {
        const int row = rowOf(pane, name);
        return row < 0 ? -1 : rows(pane).row(row).smallImage;
    }
    void mark(int pane, const std::string& name, void (MainForm::*item)())
    {
        select(pane, name);
        (m_form.get()->*item)();
    }
    std::string content(const std::string& relative)
    {
        return test::TempFolder::readAll(m_tmp.pathOf(relative));
    }
    bool exists(const std::string& relative)
    {
        return test::TempFolder::exists(m_tmp.pathOf(relative));
    }
    /// Runs "Command1" and answers the warning with `answer` once it shows.
    void alignThrough(const std::function<void(AlertForm&)>& answer)
    {
        QTimer::singleShot(0, m_form.get(), [&] {
            ASSERT_TRUE(m_form->alertForm() && m_form->alertForm()->isVisible());
            answer(*m_form->alertForm());
        });
        m_form->Command1_Click();
    }
};

TEST_F(FileOpsFormTest, MarksReplaceEachOtherFollowThePaneAndGoWithARefill)
{
    mark(0, "a.txt", &MainForm::LVCopy_Click);
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallCopyLeft);
    mark(0, "a.txt", &MainForm::LVDelete_Click);
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallDelete);
    mark(0, "a.txt", &MainForm::LVMove_Click);
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallCopyLeft);
    mark(1, "r.txt", &MainForm::LVCopy_Click);
    EXPECT_EQ(image(1, "r.txt"), RowImage::SmallCopyRight);

    m_form->ActivePane = 0;
    m_form->GetListing(0);
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallBlank);
    // No row is selected after the refill: the items mark nothing.
    m_form->LVDelete_Click();
    m_form->LVMove_Click();
    for (int i = 0; i < rows(0).rowCount(); ++i)
        EXPECT_NE(rows(0).row(i).smallImage, RowImage::SmallDelete);
}

TEST_F(FileOpsFormTest, MarksAndKeysActOnEverySelectedRow)
{
    // Two selected rows: the menu's items mark both.
    select(0, "a.txt");
    QTreeView* view = m_form->LV1[0]->reportView();
    view->selectionModel()->select(view->model()->index(rowOf(0, "c.txt"), 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(m_form->LV1[0]->selectedRows().size(), 2u);
    m_form->ActivePane = 0;
    m_form->LVCopy_Click();
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallCopyLeft);
    EXPECT_EQ(image(0, "c.txt"), RowImage::SmallCopyLeft);
    EXPECT_NE(image(0, "b.txt"), RowImage::SmallCopyLeft);

    // The marking keys act in the list the keyboard is in; the command keys press the buttons.
    ASSERT_TRUE(showForm());
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m_form.get(); }));
    select(1, "r.txt");
    QWidget* right = m_form->LV1[1]->reportView();
    right->setFocus();
    QTest::keyClick(right, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(image(1, "r.txt"), RowImage::SmallDelete);
    QTest::keyClick(right, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(image(1, "r.txt"), RowImage::SmallCopyRight);
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallCopyLeft) << "the other pane keeps its marks";
    for (const auto& [button, key, modifiers] :
         {std::tuple{m_form->DelBtn, Qt::Key_F8, Qt::NoModifier},
          std::tuple{m_form->DelAllBtn, Qt::Key_F8, Qt::ShiftModifier}}) {
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(right, key, modifiers);
        EXPECT_EQ(clicked.count(), 1) << button->text().toStdString();
    }
    EXPECT_TRUE(exists("right/r.txt")) << "each question was cancelled";
}

TEST_F(FileOpsFormTest, CopyCarriesOutLeftMarksAndBothPanesShowTheResult)
{
    mark(0, "a.txt", &MainForm::LVCopy_Click);
    mark(0, "b.txt", &MainForm::LVMove_Click);
    mark(0, "caf\xe9.txt", &MainForm::LVCopy_Click);
    mark(0, "c.txt", &MainForm::LVDelete_Click);
    mark(1, "r.txt", &MainForm::LVCopy_Click);
    const int rightRows = rows(1).rowCount();

    m_prompts->answerChoice(0); // "Replace" the right pane's a.txt
    m_form->CopyBtn_Click();

    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
    ASSERT_EQ(m_prompts->shown().front().kind, "choose");
    EXPECT_TRUE(m_prompts->shown().front().text.startsWith("1 marked file would replace"));
    EXPECT_EQ(content("right/a.txt"), "new a");
    EXPECT_EQ(content("right/b.txt"), "b");
    EXPECT_EQ(content("right/caf\xe9.txt"), "bytes");
    EXPECT_FALSE(exists("right/c.txt"));
    EXPECT_TRUE(exists("left/b.txt"));  // "Move" only marks
    EXPECT_FALSE(exists("left/r.txt")); // right-pane copy marks are never carried out
    EXPECT_EQ(image(0, "c.txt"), RowImage::SmallBlank);
    // The right pane is listed again: it shows the copies, and its own marks are gone.
    EXPECT_EQ(rows(1).rowCount(), rightRows + 2);
    EXPECT_GE(rowOf(1, "caf\xe9.txt"), 0);
    EXPECT_EQ(image(1, "r.txt"), RowImage::SmallBlank);
    EXPECT_EQ(m_form->LVFC[1]->text(), "4 Files, 0 Folders, 12 Bytes");

    // With no marks nothing is copied, and the left pane is still refilled.
    mark(0, "c.txt", &MainForm::LVDelete_Click);
    m_form->CopyBtn_Click();
    EXPECT_EQ(image(0, "c.txt"), RowImage::SmallBlank);
    EXPECT_FALSE(exists("right/c.txt"));
}

TEST_F(FileOpsFormTest, CopyAsksBeforeItReplacesAndReplacesOnlyWhatWasShown)
{
    m_tmp.fileWithContent("right/b.txt", "right's newer b");
    m_tmp.setTimes("right/b.txt", std::chrono::system_clock::now(),
                   std::chrono::system_clock::now() + std::chrono::hours(1));
    m_form->GetListing(1);
    const auto markBoth = [&] {
        mark(0, "a.txt", &MainForm::LVCopy_Click);
        mark(0, "b.txt", &MainForm::LVCopy_Click);
        mark(0, "c.txt", &MainForm::LVCopy_Click);
    };
    // Cancel copies nothing; the question names both files, the newer one so.
    markBoth();
    m_form->CopyBtn_Click();
    const QString question = m_prompts->shown().back().text;
    EXPECT_TRUE(question.startsWith("2 marked files would replace files of "))
        << question.toStdString();
    EXPECT_EQ(question.count("which is newer"), 1) << question.toStdString();
    EXPECT_FALSE(exists("right/c.txt"));

    // Skip copies the rest and keeps the files that would have been replaced.
    m_prompts->answerChoice(1);
    m_form->CopyBtn_Click();
    EXPECT_TRUE(exists("right/c.txt"));
    EXPECT_EQ(content("right/b.txt"), "right's newer b");

    // A file put under the name after the question is not the one agreed to: it stays.
    markBoth();
    m_prompts->answerChoice(0);
    m_prompts->duringNextQuestion([&] {
        std::filesystem::remove(m_tmp.pathOf("right/a.txt"));
        m_tmp.fileWithContent("right/a.txt", "arrived meanwhile");
    });
    m_form->CopyBtn_Click();
    EXPECT_EQ(content("right/a.txt"), "arrived meanwhile");
    EXPECT_EQ(content("right/b.txt"), "b");
    EXPECT_TRUE(
        m_prompts->messages().last().contains("no longer the file that was to be replaced"));
}

TEST_F(FileOpsFormTest, DeleteAsksFirstAndRefusesReadOnlyFiles)
{
    m_tmp.setMode("left/b.txt", 0444);
    mark(0, "a.txt", &MainForm::LVDelete_Click);
    mark(0, "b.txt", &MainForm::LVDelete_Click);
    m_prompts->answerConfirm(false);
    m_form->DelBtn_Click();
    ASSERT_EQ(m_prompts->shown().size(), 1u);
    EXPECT_EQ(m_prompts->shown()[0].kind, "confirm");
    EXPECT_EQ(m_prompts->shown()[0].title, "Vennic - Confirm Delete");
    EXPECT_TRUE(exists("left/a.txt"));
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallDelete);

    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(exists("left/a.txt"));
    EXPECT_TRUE(exists("left/b.txt"));
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].contains("b.txt: Permission denied70"));
    EXPECT_EQ(image(0, "b.txt"), RowImage::SmallBlank); // refilled
}

TEST_F(FileOpsFormTest, AfterADeleteAPaneShowingTheSameFolderIsListedAgain)
{
    show(1, "left");
    mark(0, "a.txt", &MainForm::LVDelete_Click);
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(exists("left/a.txt"));
    EXPECT_EQ(names(1, false), names(0, false));
    EXPECT_EQ(names(1, false).count("a.txt"), 0u);

    // A pane whose box holds an edit not yet listed is the user's: it is left as it is.
    m_form->LVPATH[1]->setText(path("right"));
    mark(0, "b.txt", &MainForm::LVDelete_Click);
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(exists("left/b.txt"));
    EXPECT_EQ(names(1, false).count("b.txt"), 1u);
    EXPECT_EQ(m_form->LVPATH[1]->text(), path("right"));
}

TEST_F(FileOpsFormTest, DeleteWalksTheActivePanesOwnRows)
{
    m_tmp.fileWithContent("right/b.txt", "b");
    show(1, "right");
    mark(0, "a.txt", &MainForm::LVDelete_Click);
    mark(1, "b.txt", &MainForm::LVDelete_Click);
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(exists("right/b.txt"));
    EXPECT_TRUE(exists("left/a.txt"));
    EXPECT_TRUE(exists("left/b.txt"));
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallDelete);
}

TEST_F(FileOpsFormTest, DeleteAllAsksWithTheFolderAndCountAndCancelTakesTheMarksOff)
{
    m_tmp.file("left/README", 1, 0444); // hidden by "*.*" and read-only
    m_tmp.setMode("left/c.txt", 0444);
    show(0, "left");
    mark(0, "a.txt", &MainForm::LVCopy_Click);
    mark(1, "r.txt", &MainForm::LVCopy_Click);
    m_form->ActivePane = 0;

    m_prompts->answerConfirm(false);
    m_form->DelAllBtn_Click();
    ASSERT_EQ(m_prompts->shown().size(), 1u);
    const QString question = m_prompts->shown()[0].text;
    EXPECT_TRUE(question.contains(QString::fromStdString(m_tmp.pathOf("left"))))
        << question.toStdString();
    EXPECT_TRUE(question.contains("all 5 files")) << question.toStdString();
    EXPECT_TRUE(question.contains("1 of them is not shown")) << question.toStdString();
    EXPECT_TRUE(exists("left/README"));
    EXPECT_EQ(image(0, "a.txt"), RowImage::SmallCopyLeft);
    EXPECT_EQ(image(0, "b.txt"), RowImage::SmallBlank);
    EXPECT_EQ(image(0, "sub"), RowImage::SmallFolder);

    m_prompts->answerConfirm(true);
    m_form->DelAllBtn_Click();
    for (const char* gone : {"left/a.txt", "left/c.txt", "left/README", "left/caf\xe9.txt"})
        EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_TRUE(exists("left/sub/inner.txt"));
    ASSERT_EQ(rows(0).rowCount(), 1);
    EXPECT_EQ(rows(0).cellText(0, ColName), "sub");
    EXPECT_EQ(image(1, "r.txt"), RowImage::SmallCopyRight); // the other pane is not touched
    EXPECT_TRUE(m_prompts->messages().isEmpty());
}

TEST_F(FileOpsFormTest, DeleteAllActsOnlyOnAPaneThatListsItsFolder)
{
    m_form->ActivePane = 1;
    m_prompts->answerFile(QString::fromStdString(m_tmp.pathOf("saved.tav")));
    m_form->M1Save_Click();
    m_prompts->answerFile(QString::fromStdString(m_tmp.pathOf("saved.tav")));
    m_form->M1Open_Click();
    m_prompts->clear();
    m_prompts->answerConfirm(true);
    m_form->DelAllBtn_Click();
    ASSERT_EQ(m_prompts->shown().size(), 1u);
    EXPECT_EQ(m_prompts->shown()[0].kind, "message");
    EXPECT_TRUE(exists("right/r.txt"));

    show(1, "right");
    m_form->CompFldr_Click();
    m_prompts->clear();
    m_form->ActivePane = 0;
    m_form->DelAllBtn_Click();
    EXPECT_EQ(m_prompts->shown()[0].kind, "message");
    EXPECT_TRUE(exists("left/a.txt"));
}

TEST_F(FileOpsFormTest, NameThatIsNotUtf8IsCopiedThenDeleted)
{
    mark(0, "caf\xe9.txt", &MainForm::LVCopy_Click);
    m_form->CopyBtn_Click();
    show(1, "right");
    mark(1, "caf\xe9.txt", &MainForm::LVDelete_Click);
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(exists("right/caf\xe9.txt"));
    EXPECT_TRUE(exists("left/caf\xe9.txt"));
    EXPECT_TRUE(m_prompts->messages().isEmpty());
}

TEST_F(FileOpsFormTest, ColumnAlignmentWaitsForTheWarningAndNeedsItsOK)
{
    PaneList& left = rows(0);
    m_form->Text1->setText("4");
    alignThrough([](AlertForm& alert) { alert.BtnCancel->click(); });
    EXPECT_FALSE(left.isRightAligned(ColCreated));
    alignThrough([](AlertForm& alert) { alert.close(); });
    EXPECT_FALSE(left.isRightAligned(ColCreated));
    EXPECT_FALSE(m_form->DelAll);

    alignThrough([](AlertForm& alert) { alert.BtnOK->click(); });
    EXPECT_TRUE(m_form->DelAll);
    EXPECT_TRUE(left.isRightAligned(ColCreated));
    EXPECT_FALSE(m_form->alertForm()->isVisible());

    m_form->Text1->setText("8");
    alignThrough([](AlertForm& alert) { alert.BtnOK->click(); });
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(left.isRightAligned(c), c == ColBytes || c == ColAttributes || c == ColCreated);
}

TEST_F(FileOpsFormTest, WarningMovesWhenDragged)
{
    alignThrough([](AlertForm& alert) {
        const QPoint start = alert.pos();
        const QPointF at(150, 20);
        QMouseEvent press(QEvent::MouseButtonPress, at, alert.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(&alert, &press);
        const QPointF to = at + QPointF(30, 40);
        QMouseEvent move(QEvent::MouseMove, to, alert.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(&alert, &move);
        EXPECT_EQ(alert.pos(), start + QPoint(30, 40));
        alert.BtnCancel->click();
    });
}

TEST_F(FileOpsFormTest, RebuildLooksUpTheLeftNamesInTheRightFolder)
{
    m_tmp.file("right/sub/x.bin", 2000);
    m_tmp.fileWithContent("right/a.txt", "12345");
    show(0, "left");
    m_form->RemBtn_Click();
    ASSERT_EQ(rows(1).rowCount(), rows(0).rowCount());
    for (int i = 0; i < rows(0).rowCount(); ++i) {
        const std::string name = rows(0).row(i).nativeName;
        const QString text = rows(1).cellText(i, ColName);
        if (name == "a.txt") {
            EXPECT_EQ(text, "a.txt");
            EXPECT_EQ(rows(1).cellText(i, ColBytes).trimmed(), "5");
            EXPECT_FALSE(rows(1).cellText(i, ColType).isEmpty());
        } else if (name == "sub") {
            EXPECT_EQ(rows(1).cellText(i, ColType), " File Folder");
            EXPECT_EQ(rows(1).cellText(i, ColBytes).trimmed(), "2,000");
        } else {
            EXPECT_EQ(text, "--") << name;
        }
    }
    EXPECT_EQ(m_form->LVFC[1]->text(), "1 Files, 1 Folders, 2,005 Bytes");
    EXPECT_FALSE(m_form->PaneListed[1]);
    EXPECT_FALSE(rows(1).isSorted());
}

TEST_F(FileOpsFormTest, ComparisonLinesThePanesUpAndKeepsTheSelection)
{
    m_tmp.fileWithContent("right/a.txt", "an older a");
    m_form->GetListing(1);
    // Whatever order the rows stand in (here by name downwards), the panes line up by name.
    for (const int pane : {0, 1}) {
        m_form->LV1_ColumnClick(pane, ColName);
        m_form->LV1_ColumnClick(pane, ColName);
    }
    select(1, "r.txt");
    m_form->CompFldr_Click();
    EXPECT_FALSE(m_form->PaneListed[0]);
    EXPECT_FALSE(m_form->PaneListed[1]);
    ASSERT_EQ(rows(0).rowCount(), rows(1).rowCount());
    EXPECT_EQ(rows(1).cellText(0, ColName), "a.txt");
    EXPECT_EQ(rows(1).cellText(1, ColName), " ");
    const std::vector<int> selected = m_form->LV1[1]->selectedRows();
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(rows(1).cellText(selected[0], ColName), "r.txt");
    // The header says what order the rows are in, and a.txt, which differs, says so.
    EXPECT_EQ(rows(0).sortIcon(ColName), 1);
    EXPECT_TRUE(rows(0)
                    .data(rows(0).index(0, ColName), Qt::ToolTipRole)
                    .toString()
                    .contains("Differs from the other pane's entry"));
    m_form->GetListing(0);
    EXPECT_EQ(rows(0).sortIcon(ColName), 0) << "the next listing comes in the system's order";
}

} // namespace
} // namespace vennic
