#include "ui/fileatts.h"

#include "app/mainform.h"
#include "support/formfixture.h"
#include "ui/panelistview.h"
#include "ui/tavbutton.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vennic {
namespace {

using test::TempFolder;

/// The attributes command on a real temporary folder, listed in both panes.
class AttributesCommand : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.file("ro.txt", 5, 0444);
        m_tmp.file("group.txt", 5, 0664);
        m_tmp.file("caf\xe9.txt", 5, 0444);
        m_tmp.file("target.txt", 5, 0644);
        m_tmp.symlink("link.txt", "target.txt");
        m_tmp.folder("sub", 0755);
    }

    /// Runs the command; `act` works the modal dialog and closes it. A dialog left open is
    /// closed so the test cannot hang.
    void run(const std::function<void(FileAtts&)>& act, const std::function<void()>& command = {})
    {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            FileAtts* dialog = m_form->fileAttsForm();
            ASSERT_TRUE(dialog && dialog->isVisible());
            acted = true;
            act(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
        if (command)
            command();
        else
            m_form->LVAttributes->trigger();
        EXPECT_TRUE(acted);
    }

    QString attributesText(int row) { return rows(0).cellText(row, ColAttributes); }
};

TEST_F(AttributesCommand, ReadOnlyIsShownAndClearedBySet)
{
    const int row = select(0, "ro.txt");
    EXPECT_EQ(attributesText(row), "R");
    run([](FileAtts& d) {
        EXPECT_EQ(d.SelFileName->text(), "ro.txt");
        EXPECT_TRUE(d.AtRO->isChecked());
        EXPECT_TRUE(d.AtRO->isEnabled());
        for (QCheckBox* locked : {d.AtHi, d.AtSy, d.AtAr}) {
            EXPECT_FALSE(locked->isEnabled());
            EXPECT_FALSE(locked->toolTip().isEmpty());
        }
        d.AtRO->click();
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("ro.txt")), 0644u);
    EXPECT_EQ(attributesText(row), "");
    EXPECT_TRUE(m_prompts->messages().isEmpty());
}

TEST_F(AttributesCommand, CancelWritesNothingAndClearThenSetRemovesReadOnly)
{
    const int row = select(0, "ro.txt");
    run([](FileAtts& d) {
        d.AtRO->click();
        d.CancelBtn->click();
        EXPECT_FALSE(d.CancelBtn->Latched());
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("ro.txt")), 0444u);
    EXPECT_EQ(attributesText(row), "R");

    run([](FileAtts& d) {
        d.ClearBtn->click();
        EXPECT_EQ(d.tickedAttributes(), 0u) << "Clear unticks every box";
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("ro.txt")), 0644u);
    EXPECT_EQ(attributesText(row), "");
}

TEST_F(AttributesCommand, OtherPermissionBitsStayWhenOnlyReadOnlyChanges)
{
    const int row = select(0, "group.txt");
    run([](FileAtts& d) {
        EXPECT_FALSE(d.AtRO->isChecked());
        d.AtRO->click();
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("group.txt")), 0444u) << "every write bit goes";
    EXPECT_EQ(attributesText(row), "R");
    run([](FileAtts& d) {
        d.AtRO->click();
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("group.txt")), 0644u)
        << "the owner's write bit comes back";
}

TEST_F(AttributesCommand, FolderAndLinkRowsAreShownAndNothingIsWritten)
{
    const int folder = select(0, "sub");
    const QString folderText = attributesText(folder);
    run([](FileAtts& d) {
        EXPECT_TRUE(d.AtDi->isChecked());
        EXPECT_FALSE(d.AtRO->isEnabled());
        d.AtRO->setChecked(true);
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("sub")), 0755u);
    EXPECT_EQ(attributesText(folder), folderText);

    const int link = select(0, "link.txt");
    run([](FileAtts& d) {
        EXPECT_TRUE(d.AtAl->isChecked());
        EXPECT_TRUE(d.AtRO->toolTip().contains("symbolic link"));
        d.AtRO->setChecked(true);
        d.SetBtn->click();
    });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("target.txt")), 0644u);
    EXPECT_EQ(attributesText(link), "a");
    EXPECT_TRUE(m_prompts->messages().isEmpty());
}

TEST_F(AttributesCommand, NameThatIsNotUtf8IsReachedByTheSelectedLabelToo)
{
    const int row = select(0, "caf\xe9.txt");
    m_form->SelFile[1]->setText("ro.txt"); // the label can name another row
    run(
        [](FileAtts& d) {
            EXPECT_TRUE(d.AtRO->isChecked());
            d.AtRO->click();
            d.SetBtn->click();
        },
        [this] { QTest::mouseClick(m_form->SelFile[0], Qt::LeftButton); });
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("caf\xe9.txt")), 0644u);
    EXPECT_EQ(TempFolder::modeOf(m_tmp.pathOf("ro.txt")), 0444u);
    EXPECT_EQ(attributesText(row), "");
}

TEST_F(AttributesCommand, NoSelectedRowOrAFailedWriteIsReported)
{
    m_form->ActivePane = 0;
    m_form->LV1[0]->setCurrentRow(-1);
    m_form->LVAttributes->trigger();
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].contains("Select a file or folder"));

    m_prompts->clear();
    const int row = select(0, "ro.txt");
    run([this](FileAtts& d) {
        std::filesystem::remove(m_tmp.pathOf("ro.txt"));
        d.AtRO->click();
        d.SetBtn->click();
    });
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].contains("could not be changed"))
        << m_prompts->messages()[0].toStdString();
    EXPECT_EQ(attributesText(row), "R");
}

} // namespace
} // namespace vennic
