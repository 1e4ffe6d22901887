#include "support/formfixture.h"

#include "ui/tavbutton.h"

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

namespace vennic {
namespace {

/// The main window shown on the offscreen platform, started in a temporary folder, driven by
/// simulated mouse input on its bare surface.
class LayoutTest : public test::FormFixture {
protected:
    void prepare() override { m_tmp.file("one.txt", 10); }
    void SetUp() override
    {
        FormFixture::SetUp();
        ASSERT_TRUE(showForm());
        m_client = m_form->centralWidget();
    }

    int px(double twips) const { return m_form->twips(twips); }
    QRect list(int pane) const { return m_form->LV1[size_t(pane)]->geometry(); }
    /// The middle of the gap between the lists, halfway down them.
    QPoint inGap() const
    {
        return {(list(0).right() + 1 + list(1).left()) / 2, list(0).center().y()};
    }
    void resizeTo(int width, int height)
    {
        m_form->resize(width, height);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_form->size() == QSize(width, height); }));
    }

    /// Every control of `pane` below the drive list starts where its list starts.
    void expectPaneLeftAligned(int pane)
    {
        const auto p = size_t(pane);
        const int left = list(pane).x();
        // The right pane's drive list waits for the end of the tool strip's row beside it.
        const int driveLeft = pane == 0 ? left : std::max(left, px(m_form->rightDriveStart()));
        EXPECT_NEAR(m_form->DR1[p]->x(), driveLeft, 1);
        for (QWidget* control :
             {static_cast<QWidget*>(m_form->LVPATH[p]), static_cast<QWidget*>(m_form->LVFC[p]),
              static_cast<QWidget*>(m_form->SelFile[p]),
              static_cast<QWidget*>(m_form->LVDrive[p])}) {
            EXPECT_EQ(control->x(), left);
            EXPECT_EQ(control->width(), list(pane).width());
        }
        // The up button sits 10 twips right of the drive list (within a pixel of rounding).
        EXPECT_NEAR(m_form->Up1[p]->x(), m_form->DR1[p]->geometry().right() + 1 + px(10), 1);
    }

    QWidget* m_client = nullptr;
};

TEST_F(LayoutTest, FirstDisplayCentresThePanesWithEqualMarginsAndGap)
{
    // The offscreen platform draws no frame: the borders count as 60 twips.
    EXPECT_EQ(m_form->sp, 60);
    const int sp = px(60);
    EXPECT_EQ(list(0).x(), sp);
    EXPECT_NEAR(list(1).x() - (list(0).right() + 1), sp, 1);
    EXPECT_NEAR(m_client->width() - (list(1).right() + 1), sp, 1);
    EXPECT_NEAR(list(0).width(), list(1).width(), 1);
    expectPaneLeftAligned(0);
    expectPaneLeftAligned(1);
    EXPECT_EQ(list(1).y(), list(0).y());
    EXPECT_EQ(list(1).height(), list(0).height());
    EXPECT_EQ(m_form->LVFC[0]->y(), list(0).bottom() + 1);
    EXPECT_EQ(m_form->LVDrive[1]->y(), m_form->SelFile[1]->geometry().bottom() + 1);
    // The tool strip keeps its design place.
    EXPECT_EQ(m_form->Go1->geometry(), m_form->twipsRect(600, 0, 735, 375));
}

TEST_F(LayoutTest, DraggingTheGapMovesTheSplitAndAResizeKeepsIt)
{
    const QRect leftDrive = m_form->DR1[0]->geometry();
    const QRect leftUp = m_form->Up1[0]->geometry();
    const int sp = px(m_form->sp);

    QTest::mousePress(m_client, Qt::LeftButton, {}, inGap());
    EXPECT_TRUE(m_form->MD) << "the press returns at once with the drag under way";
    EXPECT_EQ(m_client->cursor().shape(), Qt::SizeHorCursor);
    const int y = inGap().y();
    for (int x : {300, 250}) {
        QTest::mouseMove(m_client, QPoint(x, y));
        EXPECT_NEAR(list(0).right() + 1, x, 1) << "the left list's right edge follows";
    }
    QTest::mouseRelease(m_client, Qt::LeftButton, {}, QPoint(250, y));
    EXPECT_FALSE(m_form->MD);
    EXPECT_FALSE(m_client->testAttribute(Qt::WA_SetCursor)) << "the pointer is the default";

    EXPECT_EQ(list(0).x(), sp);
    EXPECT_NEAR(list(1).x() - (list(0).right() + 1), sp, 1);
    EXPECT_NEAR(m_client->width() - (list(1).right() + 1), sp, 1);
    EXPECT_EQ(m_form->DR1[0]->geometry(), leftDrive);
    EXPECT_EQ(m_form->Up1[0]->geometry(), leftUp);
    expectPaneLeftAligned(1); // the right pane's drive list and up button moved along
    EXPECT_EQ(m_form->LVPATH[0]->width(), list(0).width());

    // Moves without a button after the release leave the split alone.
    QTest::mouseMove(m_client, QPoint(400, y));
    EXPECT_NEAR(list(0).right() + 1, 250, 1);

    // A real change of size keeps the split and stretches the right pane to the margin.
    const int splitLeft = list(1).x();
    const int leftWidth = list(0).width();
    resizeTo(m_form->width() - 100, m_form->height() + 60);
    EXPECT_EQ(list(1).x(), splitLeft);
    EXPECT_EQ(list(0).width(), leftWidth);
    EXPECT_NEAR(m_client->width() - (list(1).right() + 1), sp, 1);
    EXPECT_EQ(m_form->LVFC[1]->y(), list(1).bottom() + 1);
    expectPaneLeftAligned(1);

    // Restoring from minimized brings back the same size and re-centres the split.
    m_form->showMinimized();
    m_form->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_form->isMinimized(); }));
    EXPECT_NEAR(list(0).width(), list(1).width(), 1);
    EXPECT_NEAR(list(1).x() - (list(0).right() + 1), sp, 1);
}

TEST_F(LayoutTest, AnyButtonDragsButOnlyStrictlyInsideTheListBand)
{
    const QRect before = list(0);
    const int x = inGap().x();
    // Exactly on the list's top edge, and in the strip above the lists: no drag.
    for (int y : {before.top(), before.top() - 2}) {
        QTest::mousePress(m_client, Qt::LeftButton, {}, QPoint(x, y));
        EXPECT_FALSE(m_form->MD) << y;
        EXPECT_FALSE(m_client->testAttribute(Qt::WA_SetCursor)) << y;
        QTest::mouseMove(m_client, QPoint(x - 60, y));
        QTest::mouseRelease(m_client, Qt::LeftButton, {}, QPoint(x - 60, y));
        EXPECT_EQ(list(0), before) << y;
    }

    QTest::mousePress(m_client, Qt::RightButton, {}, QPoint(x, before.top() + 1));
    QTest::mouseMove(m_client, QPoint(x - 60, before.top() + 1));
    QTest::mouseRelease(m_client, Qt::RightButton, {}, QPoint(x - 60, before.top() + 1));
    EXPECT_NEAR(list(0).right() + 1, x - 60, 1);

    // A press in the left margin drags, but nothing moves until both panes keep a width.
    const QRect dragged = list(0);
    QTest::mousePress(m_client, Qt::MiddleButton, {}, QPoint(1, before.center().y()));
    EXPECT_TRUE(m_form->MD);
    EXPECT_EQ(list(0), dragged);
    QTest::mouseMove(m_client, QPoint(m_client->width() + 50, before.center().y()));
    EXPECT_EQ(list(0), dragged);
    QTest::mouseRelease(m_client, Qt::MiddleButton, {}, QPoint(1, before.center().y()));
    EXPECT_FALSE(m_form->MD);
}

/// Every caption of the tool strip, latched ones too, shows whole in its control at a font of
/// at least 8 points; no control of the strip covers another beyond the edge the design lets
/// neighbours share; and the right pane's top row covers none of them.
void expectToolStripReadable(const MainForm& form)
{
    for (QPushButton* button :
         {form.EndBtn, form.Go1, form.PrinBtn, form.DelBtn, form.DelAllBtn, form.CopyBtn,
          form.RemBtn, form.PrinSmallBtn, form.CompFldr, form.Command1, form.PrinPrevBtn}) {
        EXPECT_GE(QFontInfo(button->font()).pointSizeF(), 7.9) << button->text().toStdString();
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), room.width())
            << button->text().toStdString();
    }
    for (TavButton* button : {form.ShowFoldersBtn, form.ShowFilesBtn, form.PO}) {
        const int room = button->width() - 2 * (1 + button->bevelWidth());
        for (const QFont& font : {button->fontUnlatched(), button->fontLatched()}) {
            EXPECT_GE(QFontInfo(font).pointSizeF(), 7.9);
            const QFontMetrics metrics(font);
            EXPECT_LE(metrics.horizontalAdvance(button->captionUnlatched()), room);
            EXPECT_LE(metrics.horizontalAdvance(button->captionLatched()), room)
                << button->captionLatched().toStdString();
        }
    }
    const QWidget* strip[] = {form.EndBtn,         form.Go1,          form.PrinBtn,
                              form.DelBtn,         form.DelAllBtn,    form.CopyBtn,
                              form.ShowFoldersBtn, form.ShowFilesBtn, form.PO,
                              form.RemBtn,         form.PrinSmallBtn, form.FEX,
                              form.Frame1,         form.CompFldr,     form.FilterExpression,
                              form.Command1,       form.Text1,        form.PrinPrevBtn};
    const int sharedEdge = form.twips(15) + 1;
    for (const QWidget* a : strip) {
        for (const QWidget* b : strip) {
            if (a == b || a->y() != b->y())
                continue;
            const QRect both = a->geometry() & b->geometry();
            EXPECT_LE(both.width(), sharedEdge)
                << a->metaObject()->className() << " at " << a->x() << " and "
                << b->metaObject()->className() << " at " << b->x();
        }
        for (const QWidget* pane :
             {static_cast<const QWidget*>(form.DR1[1]), static_cast<const QWidget*>(form.Up1[1])}) {
            const QRect both = a->geometry() & pane->geometry();
            EXPECT_TRUE(both.isEmpty() || both.width() <= sharedEdge || both.height() <= sharedEdge)
                << a->metaObject()->className() << " at " << a->x();
        }
    }
}

TEST_F(LayoutTest, EveryToolCaptionShowsWholeAtTheSystemFont)
{
    expectToolStripReadable(*m_form);
    // The design's lengths grow by one factor, the panes' as much as the strip's.
    EXPECT_GE(m_form->designScale(), 1.0);
    EXPECT_EQ(m_form->LV1[0]->y(), px(1080 + m_form->stripDrop()));
    EXPECT_EQ(m_form->Go1->height(), px(375));

    // A larger system font, and one below 8 points, whose captions are raised to 8.
    const QFont system = QApplication::font();
    for (double points : {13.0, 6.0}) {
        QFont font = system;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        m_form = std::make_unique<MainForm>(options(m_prompts));
        QApplication::setFont(system);
        ASSERT_TRUE(showForm());
        SCOPED_TRACE(points);
        expectToolStripReadable(*m_form);
        // The window's bottom rows still stack under the lists.
        EXPECT_EQ(m_form->LVFC[1]->y(), list(1).bottom() + 1);
    }
}

/// Every control of the strip and of both panes lies inside the client area and none covers
/// another beyond an edge the design lets neighbours share.
void expectWholeAndApart(const MainForm& form)
{
    std::vector<const QWidget*> controls = {
        form.EndBtn,    form.Go1,        form.PrinBtn,          form.DelBtn,
        form.DelAllBtn, form.CopyBtn,    form.ShowFoldersBtn,   form.ShowFilesBtn,
        form.PO,        form.RemBtn,     form.PrinSmallBtn,     form.FEX,
        form.Frame1,    form.CompFldr,   form.FilterExpression, form.Command1,
        form.Text1,     form.PrinPrevBtn};
    for (size_t p = 0; p < 2; ++p)
        for (const QWidget* c : std::initializer_list<const QWidget*>{
                 form.DR1[p], form.Up1[p], form.LVPATH[p], form.LV1[p], form.LVFC[p],
                 form.SelFile[p], form.LVDrive[p]})
            controls.push_back(c);
    const QRect client = form.centralWidget()->rect();
    const int sharedEdge = form.twips(15) + 1;
    for (const QWidget* a : controls) {
        EXPECT_TRUE(client.contains(a->geometry()))
            << a->metaObject()->className() << " at " << a->x() << "," << a->y() << " width "
            << a->width() << " in " << client.width();
        for (const QWidget* b : controls) {
            const QRect both = a->geometry() & b->geometry();
            if (a != b && !both.isEmpty())
                EXPECT_TRUE(both.width() <= sharedEdge || both.height() <= sharedEdge)
                    << a->metaObject()->className() << " at " << a->x() << "," << a->y() << " and "
                    << b->metaObject()->className() << " at " << b->x() << "," << b->y();
        }
    }
}

TEST_F(LayoutTest, EveryWidthFromSixHundredFortyShowsTheStripAndBothPanesWhole)
{
    // Narrowed as a user drags the frame from a wide window, then widened again: the split
    // is kept while the right pane fits and shared again where it would not.
    resizeTo(1600, 600);
    for (int width : {1366, 1024, 800, 640, 800, 1024, 1366}) {
        SCOPED_TRACE(width);
        resizeTo(width, 600);
        expectWholeAndApart(*m_form);
        for (int p : {0, 1})
            EXPECT_LE(m_form->Up1[size_t(p)]->geometry().right(), list(p).right())
                << "pane " << p << "'s up button stays over its list";
        EXPECT_EQ(m_form->LVFC[1]->y(), list(1).bottom() + 1) << "the labels hang under";
        // The panes start lower and their lists are as much shorter: the labels end where
        // the design has them.
        EXPECT_NEAR(m_form->LVDrive[0]->geometry().bottom() + 1,
                    m_form->twips(1080 + (m_form->CurWinH - 3000) + 3 * 255), 2);
    }
    // Widening again gives back the design's two rows.
    resizeTo(2400, 600);
    EXPECT_EQ(m_form->stripDrop(), 0);
    EXPECT_EQ(m_form->PrinPrevBtn->y(), px(360));
}

} // namespace
} // namespace vennic
