// A whole job done with the keyboard alone: list a folder, sort it, mark and copy a file, mark
// and delete one, preview the print and look at a file's attributes.
#include "support/formfixture.h"

#include "ui/fileatts.h"
#include "ui/printpreviewform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

namespace vennic {
namespace {

class KeyboardJob : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.fileWithContent("left/a.txt", "aaa");
        m_tmp.fileWithContent("left/b.txt", "bb");
        m_tmp.fileWithContent("right/r.txt", "r");
    }

    QWidget* focus() const { return QApplication::focusWidget(); }
    /// Presses a key where the keyboard is: the open menu, or the widget with the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::activePopupWidget();
        if (!target)
            target = focus();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    /// Tabs on (Shift+Tab with `back`) until `wanted` says the focus is where the job goes
    /// next; false after a round.
    [[nodiscard]] bool tabTo(const std::function<bool(QWidget*)>& wanted, bool back = false)
    {
        for (int i = 0; i < 60; ++i) {
            if (focus() && wanted(focus()))
                return true;
            press(back ? Qt::Key_Backtab : Qt::Key_Tab);
        }
        return false;
    }
    /// Back from the tool strip to a list: Shift+Tab reaches the lists first.
    [[nodiscard]] bool tabToList(int pane)
    {
        return tabTo([&](QWidget* w) { return m_form->LV1[size_t(pane)]->isAncestorOf(w); }, true);
    }
    [[nodiscard]] bool tabTo(QWidget* widget)
    {
        return tabTo([widget](QWidget* w) { return w == widget; });
    }
    /// Moves the current row of the focused list to the row named `name`.
    [[nodiscard]] bool downTo(int pane, const QString& name)
    {
        press(Qt::Key_Home);
        for (int i = 0; i <= rows(pane).rowCount(); ++i) {
            if (m_form->SelFile[size_t(pane)]->text() == name)
                return true;
            press(Qt::Key_Down);
        }
        return false;
    }
    /// Opens the list's menu with `key` and picks an item by its mnemonic.
    void menuItem(Qt::Key key, Qt::KeyboardModifiers modifiers, Qt::Key mnemonic)
    {
        press(key, modifiers);
        ASSERT_EQ(QApplication::activePopupWidget(), m_form->LVMenu);
        press(mnemonic);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
};

TEST_F(KeyboardJob, ListSortMarkCopyDeletePreviewAndAttributes)
{
    m_form->setPrinterProvider([] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        return printer;
    });
    ASSERT_TRUE(showForm());
    m_form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m_form.get(); }));

    // Tab goes from the left list to the right one and back before the tool strip.
    ASSERT_TRUE(m_form->LV1[0]->isAncestorOf(focus()));
    press(Qt::Key_Tab);
    EXPECT_TRUE(m_form->LV1[1]->isAncestorOf(focus()));
    EXPECT_EQ(m_form->ActivePane, 1);
    press(Qt::Key_Backtab);
    EXPECT_TRUE(m_form->LV1[0]->isAncestorOf(focus()));
    EXPECT_EQ(m_form->ActivePane, 0);

    // List: Ctrl+L goes to the active pane's path box, which takes a typed folder and Enter;
    // the keyboard is then back in the list.
    for (int pane = 1; pane >= 0; --pane) {
        if (pane == 1)
            press(Qt::Key_Tab);
        press(Qt::Key_L, Qt::ControlModifier);
        ASSERT_EQ(focus(), m_form->LVPATH[size_t(pane)]);
        QTest::keyClicks(focus(), path(pane == 0 ? "left" : "right"));
        press(Qt::Key_Return);
        ASSERT_TRUE(m_form->LV1[size_t(pane)]->isAncestorOf(focus()));
        if (pane == 1)
            press(Qt::Key_Backtab);
    }
    ASSERT_EQ(names(0, false), (std::set<QString>{"a.txt", "b.txt"}));

    // Sort the left pane by size through "View", "Sort by", "Bytes".
    ASSERT_TRUE(tabToList(0));
    press(Qt::Key_V, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    press(Qt::Key_S);
    press(Qt::Key_B);
    EXPECT_EQ(rows(0).sortKey(), int(ColBytes));

    // Mark a.txt for copy with the menu key, and copy it with the "Copy" button.
    ASSERT_TRUE(downTo(0, "a.txt"));
    menuItem(Qt::Key_Menu, Qt::NoModifier, Qt::Key_C);
    EXPECT_EQ(rows(0).row(rowOf(0, "a.txt")).smallImage, RowImage::SmallCopyLeft);
    ASSERT_TRUE(tabTo(m_form->CopyBtn));
    press(Qt::Key_Space);
    EXPECT_EQ(test::TempFolder::readAll(m_tmp.pathOf("right/a.txt")), "aaa");
    EXPECT_GE(rowOf(1, "a.txt"), 0) << "the right pane shows the copy";

    // Space marks a row as a click does; Shift+F10 opens the menu to mark b.txt for deletion.
    ASSERT_TRUE(tabToList(0));
    ASSERT_TRUE(downTo(0, "b.txt"));
    press(Qt::Key_Space);
    EXPECT_EQ(rows(0).row(rowOf(0, "b.txt")).foreColor, RowColor::Red);
    menuItem(Qt::Key_F10, Qt::ShiftModifier, Qt::Key_D);
    EXPECT_EQ(rows(0).row(rowOf(0, "b.txt")).smallImage, RowImage::SmallDelete);
    // F8 deletes from the list itself: tabbing to the button would pass the right list,
    // which the keyboard would then make the active pane.
    m_prompts->answerConfirm(true);
    press(Qt::Key_F8);
    EXPECT_FALSE(test::TempFolder::exists(m_tmp.pathOf("left/b.txt")));
    EXPECT_EQ(names(0, false), (std::set<QString>{"a.txt"}));

    // F10 opens the menu bar at "File"; Esc closes it again.
    press(Qt::Key_F10);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(static_cast<QMenu*>(QApplication::activePopupWidget())->title(), "&File");
    press(Qt::Key_Escape);
    press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // The print preview from the "File" menu.
    ASSERT_TRUE(tabToList(0));
    press(Qt::Key_F, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    press(Qt::Key_V);
    auto* preview = m_form->findChild<PrintPreviewForm*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isVisible());
    preview->close();

    // The attributes of the current row from the list's menu.
    ASSERT_TRUE(tabToList(0));
    ASSERT_TRUE(downTo(0, "a.txt"));
    bool shown = false;
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        FileAtts* dialog = m_form->fileAttsForm();
        shown = dialog && dialog->isVisible();
        if (shown)
            dialog->reject();
    });
    menuItem(Qt::Key_Menu, Qt::NoModifier, Qt::Key_T);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
}

} // namespace
} // namespace vennic
