// The pane layout of MainForm: the re-flow on resize and the splitter between the panes. The
// rules themselves are PaneLayout's, in twips; this file reads the controls' geometry into it
// and writes the result back, both through the window's one twips conversion.
#include "app/mainform.h"

#include "shell/panelayout.h"
#include "shell/toolstrip.h"
#include "shell/twips.h"
#include "ui/panelistview.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>
#include <QWindowStateChangeEvent>

#include <cmath>

namespace vennic {

namespace {

/// The seven controls of pane `index`, in the order of PaneBoxes.
std::array<QWidget*, 7> paneWidgets(const MainForm& form, size_t index)
{
    return {form.DR1[index],  form.Up1[index],     form.LVPATH[index], form.LV1[index],
            form.LVFC[index], form.SelFile[index], form.LVDrive[index]};
}

std::array<ControlBox*, 7> paneBoxes(PaneBoxes& pane)
{
    return {&pane.DR1,  &pane.Up1,     &pane.LVPATH, &pane.LV1,
            &pane.LVFC, &pane.SelFile, &pane.LVDrive};
}

/// The window's outer rectangle in pixels as the window system reports it. The offscreen
/// platform invents a two-pixel frame that nothing draws; it counts as none.
QRect reportedFrame(const QWidget& window)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return window.geometry();
    return window.frameGeometry();
}

} // namespace

float MainForm::pixelsAsTwips(double pixels) const
{
    // Whole twips, as the design counts them: the band tests compare a rounded press with
    // the list's edges, which must round the same way.
    return float(std::round(pixelsToTwips(pixels, logicalDpiX()) / m_designScale));
}

float MainForm::scaleWidthTwips() const
{
    // The central widget spans the window's whole width: the client area is as wide as the
    // window inside its frame.
    return pixelsAsTwips(width());
}

float MainForm::outerWidthTwips() const
{
    return PaneLayout::measure(pixelsAsTwips(reportedFrame(*this).width()), outerHeightTwips(),
                               scaleWidthTwips(), false)
        .Width;
}

float MainForm::outerHeightTwips() const
{
    return pixelsAsTwips(reportedFrame(*this).height());
}

namespace {

/// The controls' geometry and the form's layout state as one PaneLayout.
PaneLayout readLayout(const MainForm& form, float dragScaleWidth, float dragBorders)
{
    const auto toTwips = [&form](int pixels) { return form.pixelsAsTwips(pixels); };
    PaneLayout layout;
    for (size_t p = 0; p < 2; ++p) {
        const auto widgets = paneWidgets(form, p);
        const auto boxes = paneBoxes(layout.pane[p]);
        for (size_t c = 0; c < widgets.size(); ++c) {
            const QRect g = widgets[c]->geometry();
            *boxes[c] = {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
        }
    }
    layout.sw = form.sw;
    layout.ww = form.ww;
    layout.sp = form.sp;
    layout.LL = form.LL;
    layout.CL = form.CL;
    layout.CurWinW = form.CurWinW;
    layout.CurWinH = form.CurWinH;
    layout.mx = form.mx;
    layout.MD = form.MD;
    layout.dragScaleWidth = dragScaleWidth;
    layout.dragBorders = dragBorders;
    layout.rightDriveStart = form.rightDriveStart();
    layout.drop = form.stripDrop();
    return layout;
}

/// Runs one step of the layout on the current geometry and state and writes back what it
/// changed. Every pixel of the controls passes the window's twips conversion both ways.
template <typename Step>
void runLayout(MainForm& form, float& dragScaleWidth, float& dragBorders, Step step)
{
    if (!form.LV1[1] || !form.LVDrive[1])
        return;
    PaneLayout layout = readLayout(form, dragScaleWidth, dragBorders);
    step(layout);
    for (size_t p = 0; p < 2; ++p) {
        const auto widgets = paneWidgets(form, p);
        const auto boxes = paneBoxes(layout.pane[p]);
        for (size_t c = 0; c < widgets.size(); ++c) {
            const ControlBox& box = *boxes[c];
            const QRect g = form.twipsRect(box.Left, box.Top, box.Width, box.Height);
            if (widgets[c]->geometry() != g)
                widgets[c]->setGeometry(g);
        }
    }
    form.sw = layout.sw;
    form.ww = layout.ww;
    form.sp = layout.sp;
    form.LL = layout.LL;
    form.CL = layout.CL;
    form.CurWinW = layout.CurWinW;
    form.CurWinH = layout.CurWinH;
    form.mx = layout.mx;
    form.MD = layout.MD;
    dragScaleWidth = layout.dragScaleWidth;
    dragBorders = layout.dragBorders;
}

} // namespace

void MainForm::Form_Resize()
{
    const WindowMeasures window{outerWidthTwips(), outerHeightTwips(), scaleWidthTwips(),
                                isMinimized()};
    float drop = m_stripDrop;
    if (m_strip && !window.minimized) {
        // The strip fits the new width first: how many rows it takes decides where the panes
        // start and whether the right pane's drive list shares a band with it.
        const StripFlow flow =
            m_strip->flow(window.ScaleWidth, (window.Width - window.ScaleWidth) / 2);
        for (size_t i = 0; i < m_stripControls.size(); ++i) {
            const ControlBox& box = flow.places[i];
            placeTwips(m_stripControls[i], box.Left, box.Top, box.Width, box.Height);
        }
        m_rightDriveStart = flow.rightDriveStart;
        drop = flow.drop;
    }
    runLayout(*this, m_dragScaleWidth, m_dragBorders, [&window, drop](PaneLayout& layout) {
        if (!window.minimized)
            layout.setDrop(drop);
        layout.Form_Resize(window);
    });
    if (LV1[1])
        m_stripDrop = drop;
}

bool MainForm::OverSplitter(int16_t X, int16_t Y) const
{
    if (!LV1[0])
        return false;
    PaneLayout layout;
    const QRect list = LV1[0]->geometry();
    layout.pane[0].LV1 = {pixelsAsTwips(list.x()), pixelsAsTwips(list.y()),
                          pixelsAsTwips(list.width()), pixelsAsTwips(list.height())};
    return layout.OverSplitter(X, Y);
}

void MainForm::Form_MouseDown(Qt::MouseButton /*Button*/, Qt::KeyboardModifiers /*Shift*/, float X,
                              float Y)
{
    bool over = false;
    const float scaleWidth = scaleWidthTwips();
    runLayout(*this, m_dragScaleWidth, m_dragBorders,
              [&](PaneLayout& layout) { over = layout.Form_MouseDown(X, Y, scaleWidth); });
    if (over)
        m_client->setCursor(Qt::SizeHorCursor);
}

void MainForm::VResize(float /*X*/)
{
    const float scaleWidth = scaleWidthTwips();
    runLayout(*this, m_dragScaleWidth, m_dragBorders,
              [scaleWidth](PaneLayout& layout) { layout.VResize(scaleWidth); });
}

void MainForm::Form_MouseMove(Qt::MouseButtons /*Button*/, Qt::KeyboardModifiers /*Shift*/, float X,
                              float /*Y*/)
{
    runLayout(*this, m_dragScaleWidth, m_dragBorders,
              [X](PaneLayout& layout) { layout.Form_MouseMove(X); });
}

void MainForm::Form_MouseUp(Qt::MouseButton /*Button*/, Qt::KeyboardModifiers /*Shift*/,
                            float /*X*/, float /*Y*/)
{
    m_client->unsetCursor();
    MD = false;
}

void MainForm::watchLayoutEvents()
{
    // The window's own resizes and state changes reach eventFilter like the client's mouse
    // events; tracking gives `mx` every move over the surface, not only those with a button.
    installEventFilter(this);
    m_client->setMouseTracking(true);
}

bool MainForm::layoutEvent(QObject* watched, QEvent* event)
{
    if (watched == this) {
        if (event->type() == QEvent::Resize) {
            Form_Resize();
        } else if (event->type() == QEvent::WindowStateChange) {
            // Restoring from minimized brings back the size laid out last without a resize
            // of its own; the re-flow then puts the split back in the middle.
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            if ((change->oldState() & Qt::WindowMinimized) && !isMinimized())
                Form_Resize();
        }
        return false;
    }
    if (watched != m_client)
        return false;
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->position();
    const float X = pixelsAsTwips(at.x());
    const float Y = pixelsAsTwips(at.y());
    if (type == QEvent::MouseMove) {
        // A drag whose release went elsewhere (a window that took the mouse) ends at the
        // first move without a button, so the split never follows a free pointer.
        if (MD && mouse->buttons() == Qt::NoButton)
            Form_MouseUp(Qt::NoButton, mouse->modifiers(), X, Y);
        Form_MouseMove(mouse->buttons(), mouse->modifiers(), X, Y);
        return true;
    }
    if (type == QEvent::MouseButtonRelease) {
        Form_MouseUp(mouse->button(), mouse->modifiers(), X, Y);
        return true;
    }
    // A press that a control passed on to its parent is the control's, not the surface's.
    if (m_client->childAt(at.toPoint()))
        return false;
    Form_MouseDown(mouse->button(), mouse->modifiers(), X, Y);
    return true;
}

} // namespace vennic
