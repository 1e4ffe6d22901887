#include "shell/panelayout.h"

#include <algorithm>
#include <cmath>

namespace vennic {

namespace {

/// Sets a width or height as the platform does: a negative size is refused and the property
/// keeps its value.
void setSize(float& property, float value)
{
    if (value >= 0)
        property = value;
}

/// Rounds to the nearest whole number, a half to the even neighbour.
float roundHalfEven(float value)
{
    return std::nearbyint(value);
}

} // namespace

WindowMeasures PaneLayout::measure(float outerWidth, float outerHeight, float clientWidth,
                                   bool minimized)
{
    WindowMeasures window;
    window.Width = outerWidth > clientWidth ? outerWidth : clientWidth + 2 * BorderlessSp;
    window.Height = outerHeight;
    window.ScaleWidth = clientWidth;
    window.minimized = minimized;
    return window;
}

void PaneLayout::Form_Resize(const WindowMeasures& window)
{
    if (window.minimized)
        return;
    sw = window.ScaleWidth / 2;
    ww = window.Width / 2;
    sp = ww - sw;
    LL = sw - (sp / 2 + sp);
    CL = sp / 2 + sw;
    // The exact comparison is meant: a resize that brings back the size laid out last is a
    // first display or a restore, not a change of size.
    if (window.Width == CurWinW && window.Height == CurWinH)
        centredLayout(window);
    else
        stretchLayout(window);
}

void PaneLayout::centredLayout(const WindowMeasures& window)
{
    PaneBoxes& left = pane[0];
    PaneBoxes& right = pane[1];
    left.DR1.Left = sp;
    left.Up1.Left = left.DR1.Left + left.DR1.Width + 10;
    for (ControlBox* box : {&left.LVPATH, &left.LV1, &left.LVFC, &left.SelFile, &left.LVDrive})
        box->Left = sp;
    for (ControlBox* box : {&left.LVPATH, &left.LV1, &left.LVFC, &left.SelFile, &left.LVDrive})
        setSize(box->Width, LL);
    verticalChain(window.Height);

    placeRightTopRow(CL, CL + LL);
    for (ControlBox* box : {&right.LVPATH, &right.LV1, &right.LVFC, &right.SelFile, &right.LVDrive})
        box->Left = CL;
    // The count label takes the list's width, not its twin's.
    setSize(right.LVPATH.Width, left.LVPATH.Width);
    setSize(right.LV1.Width, left.LV1.Width);
    setSize(right.LVFC.Width, left.LV1.Width);
    setSize(right.SelFile.Width, left.SelFile.Width);
    setSize(right.LVDrive.Width, left.LVDrive.Width);
    verticalCopy();

    CurWinH = window.Height;
    CurWinW = window.Width;
}

void PaneLayout::stretchLayout(const WindowMeasures& window)
{
    verticalChain(window.Height);
    verticalCopy();
    // Since the outer width is the client width plus two borders, this puts the right pane's
    // right edge one border inside the client area.
    PaneBoxes& right = pane[1];
    const float w = roundHalfEven(window.Width - right.LV1.Left - 3 * sp);
    if (window.Width < CurWinW && w < TopRowWidth && LL >= MinPaneWidth) {
        // The split would push the right pane out of a narrowed window: both panes share the
        // width again, as at first display. A pane the user dragged narrow stays so otherwise.
        centredLayout(window);
        return;
    }
    for (ControlBox* box : {&right.LV1, &right.LVPATH, &right.LVFC, &right.SelFile, &right.LVDrive})
        setSize(box->Width, w);
    // The strip beside the right pane's top row may have flowed: its drive list and up button
    // keep clear of it and inside the pane.
    placeRightTopRow(right.LV1.Left, right.LV1.Left + right.LV1.Width);
    CurWinH = window.Height;
    CurWinW = window.Width;
}

void PaneLayout::verticalChain(float height)
{
    // Each step reads what the one before left, so a refused list height still stacks the
    // labels directly under the list.
    PaneBoxes& left = pane[0];
    setSize(left.LV1.Height, height - 3000 - drop);
    left.LVFC.Top = left.LV1.Top + left.LV1.Height;
    left.SelFile.Top = left.LVFC.Top + left.LVFC.Height;
    left.LVDrive.Top = left.SelFile.Top + left.SelFile.Height;
}

void PaneLayout::setDrop(float newDrop)
{
    const float by = newDrop - drop;
    drop = newDrop;
    if (by == 0)
        return;
    // The labels follow the list in the vertical chain.
    for (PaneBoxes& boxes : pane)
        for (ControlBox* box : {&boxes.DR1, &boxes.Up1, &boxes.LVPATH, &boxes.LV1})
            box->Top += by;
}

void PaneLayout::verticalCopy()
{
    setSize(pane[1].LV1.Height, pane[0].LV1.Height);
    pane[1].LVFC.Top = pane[0].LVFC.Top;
    pane[1].SelFile.Top = pane[0].SelFile.Top;
    pane[1].LVDrive.Top = pane[0].LVDrive.Top;
}

bool PaneLayout::OverSplitter(int /*X*/, int Y) const
{
    // X is not tested: presses reach the window only on its bare surface, so a press anywhere
    // in the band beside the lists (the margins and the gap) starts a drag.
    const ControlBox& list = pane[0].LV1;
    return list.Top < float(Y) && float(Y) < list.Top + list.Height;
}

bool PaneLayout::Form_MouseDown(float X, float Y, float scaleWidth)
{
    // The press point is the pointer's latest position over the surface, also when no move
    // came before the press.
    mx = X;
    const bool over = OverSplitter(int(roundHalfEven(X)), int(roundHalfEven(Y)));
    if (over)
        MD = true;
    VResize(scaleWidth);
    return over;
}

void PaneLayout::Form_MouseMove(float X)
{
    mx = X;
    if (MD)
        dragTo();
}

void PaneLayout::Form_MouseUp()
{
    MD = false;
}

void PaneLayout::VResize(float scaleWidth)
{
    if (!MD)
        return;
    dragScaleWidth = scaleWidth;
    dragBorders = 2 * sp;
    dragTo();
}

void PaneLayout::placeRightTopRow(float left, float paneRight)
{
    ControlBox& drive = pane[1].DR1;
    ControlBox& up = pane[1].Up1;
    drive.Left = std::max(left, rightDriveStart);
    // Pushed right or in a narrow pane, the drive list gives up width before its up button
    // leaves the pane.
    const float room = paneRight - drive.Left - 10 - up.Width;
    drive.Width = std::clamp(room, MinDriveListWidth, DriveListWidth);
    up.Left = drive.Left + drive.Width + 10;
}

void PaneLayout::dragTo()
{
    const float a = mx - sp;                             // the left pane's new width
    const float b = mx + sp;                             // the right pane's new Left
    const float c = dragScaleWidth - (dragBorders + mx); // the right pane's new width
    if (a < 1 || c < 1)
        return;
    PaneBoxes& left = pane[0];
    PaneBoxes& right = pane[1];
    left.LV1.Width = a;
    right.LV1.Left = b;
    right.LV1.Width = c;
    placeRightTopRow(b, b + c);
    left.LVPATH.Width = a;
    right.LVPATH.Left = b;
    right.LVPATH.Width = c;
    left.LVFC.Width = a;
    right.LVFC.Left = b;
    right.LVFC.Width = c;
    left.SelFile.Width = a;
    right.SelFile.Left = b;
    right.SelFile.Width = c;
    left.LVDrive.Width = a;
    right.LVDrive.Left = b;
    right.LVDrive.Width = c;
}

} // namespace vennic
