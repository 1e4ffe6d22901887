// What a screen reader and the keyboard find in the main window: every visible control has a
// name, the keyboard's pane is the active one, and the filter and show buttons act when used.
#include "support/formfixture.h"

#include "ui/ddpanel.h"
#include "ui/driveinfo.h"
#include "ui/panelistview.h"
#include "ui/tavbutton.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace vennic {
namespace {

class WindowAccess : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.fileWithContent("left/a.txt", "a");
        m_tmp.fileWithContent("left/b.log", "b");
        m_tmp.folder("left/sub");
        m_tmp.fileWithContent("right/c.txt", "c");
    }

    /// The controls below `node` that a screen reader offers and that have no name. The rows
    /// of a list are the list's own and are not walked.
    static void nameless(QAccessibleInterface* node, QStringList& found, int& controls)
    {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (!child || child->state().invisible)
                continue;
            auto* widget = qobject_cast<QWidget*>(child->object());
            if (widget && !widget->isVisible())
                continue;
            const QAccessible::Role role = child->role();
            const bool control = role != QAccessible::Client && role != QAccessible::Grouping &&
                                 role != QAccessible::Pane && role != QAccessible::Separator &&
                                 role != QAccessible::ScrollBar && role != QAccessible::Window;
            controls += control;
            if (control && child->text(QAccessible::Name).trimmed().isEmpty())
                found << QStringLiteral("%1 (role %2)")
                             .arg(child->object() ? child->object()->metaObject()->className()
                                                  : "?")
                             .arg(int(role));
            if (role != QAccessible::Table && role != QAccessible::Tree &&
                role != QAccessible::List)
                nameless(child, found, controls);
        }
    }
};

TEST_F(WindowAccess, EveryVisibleControlHasANameAndTheTerseOnesSayWhatTheyDo)
{
    list(0, m_tmp.pathOf("left"));
    list(1, m_tmp.pathOf("right"));
    ASSERT_TRUE(showForm());
    for (int view = 0; view < 4; ++view) {
        m_form->Option1_Click(view);
        QStringList found;
        int controls = 0;
        nameless(QAccessible::queryAccessibleInterface(m_form.get()), found, controls);
        EXPECT_GE(controls, 40) << "the walk reaches the strip and both panes";
        EXPECT_TRUE(found.isEmpty()) << "view " << view << ": " << found.join(", ").toStdString();
    }
    // The folder panel beside the window names its lists too.
    m_form->ddPanel()->show();
    QStringList found;
    int controls = 0;
    nameless(QAccessible::queryAccessibleInterface(m_form->ddPanel()), found, controls);
    EXPECT_GE(controls, 6);
    EXPECT_TRUE(found.isEmpty()) << "the folder panel: " << found.join(", ").toStdString();

    // The two lists and the two path boxes tell their panes apart; a label speaks its text
    // under its name, and its name alone while it is empty.
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(m_form->LV1[0]->reportView()), "Left pane's list");
    EXPECT_EQ(name(m_form->LVPATH[1]), "Right pane's folder");
    // A drive list is named by the drive it shows, and says which pane it serves.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(m_form->DR1[0])
                    ->text(QAccessible::Description)
                    .contains("left pane"));
    EXPECT_EQ(name(m_form->LVFC[0]), "Left pane's counts: " + m_form->LVFC[0]->text());
    m_form->SelFile[1]->clear();
    EXPECT_EQ(name(m_form->SelFile[1]), "Right pane's selected item");
    EXPECT_EQ(name(m_form->DelAllBtn), "Delete all");
    EXPECT_EQ(m_form->DelAllBtn->toolTip(),
              "Delete all files of the active pane's folder (Shift+F8)");
    EXPECT_EQ(m_form->DelAllBtn->text(), "DA");
    // A latching button's name follows its caption.
    m_form->ShowFilesBtn->setLatched(true);
    EXPECT_EQ(name(m_form->ShowFilesBtn), "No Files");
}

TEST_F(WindowAccess, TheKeyboardsPaneIsTheActivePaneAndShowsIt)
{
    ASSERT_TRUE(showForm());
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m_form.get(); }));
    const QColor active = m_form->LV1[0]->backgroundColor();
    for (QWidget* into :
         {static_cast<QWidget*>(m_form->LV1[1]->reportView()),
          static_cast<QWidget*>(m_form->LVPATH[0]), static_cast<QWidget*>(m_form->DR1[1]),
          static_cast<QWidget*>(m_form->LV1[0]->reportView())}) {
        into->setFocus(Qt::TabFocusReason);
        const int pane = m_form->LV1[1]->isAncestorOf(into) || into == m_form->DR1[1] ? 1 : 0;
        EXPECT_EQ(m_form->ActivePane, pane) << into->accessibleName().toStdString();
        EXPECT_EQ(m_form->LV1[size_t(pane)]->backgroundColor(), active);
        EXPECT_NE(m_form->LV1[size_t(1 - pane)]->backgroundColor(), active);
    }
    // The tool strip leaves the active pane as it was.
    m_form->LVPATH[1]->setFocus(Qt::TabFocusReason);
    m_form->Go1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(m_form->ActivePane, 1);

    // Ctrl+I shows the active pane's drive.
    list(1, m_tmp.pathOf("right"));
    m_form->mDriveInfo->trigger();
    ASSERT_NE(m_form->driveInfoForm(), nullptr);
    EXPECT_TRUE(m_form->driveInfoForm()->isVisible());
    EXPECT_EQ(m_form->mDriveInfo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    m_form->driveInfoForm()->close();
}

TEST_F(WindowAccess, EnterInAFilterBoxAndTheShowButtonsListBothPanesAtOnce)
{
    list(0, m_tmp.pathOf("left"));
    list(1, m_tmp.pathOf("right"));
    m_tmp.fileWithContent("right/d.txt", "d");

    QTest::keyClicks(m_form->FEX->lineEdit(), "*.txt");
    QTest::keyClick(m_form->FEX->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(names(0, false), (std::set<QString>{"a.txt"}));
    EXPECT_EQ(names(1, false), (std::set<QString>{"c.txt", "d.txt"}));

    m_form->FilterExpression->setText("*.log");
    QTest::keyClick(m_form->FilterExpression, Qt::Key_Return);
    EXPECT_EQ(names(0, false), (std::set<QString>{"b.log"}));
    EXPECT_EQ(m_form->FEX->currentText(), "*.log");

    m_form->ShowFoldersBtn->click();
    EXPECT_TRUE(names(0, true).empty());
    m_form->ShowFoldersBtn->click();
    EXPECT_EQ(names(0, true), (std::set<QString>{"sub"}));
}

} // namespace
} // namespace vennic
