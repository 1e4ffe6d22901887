#include "app/mainform.h"

#include "platform/panelistview.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace vennic {

bool MainForm::layoutEvent(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layoutPanes();
    return false;
}

void MainForm::layoutPanes()
{
    if (!LV1[1] || !LVDrive[1])
        return;
    // For now each pane takes half of the client area between margins of 120 twips.
    const int margin = twips(120);
    const int labelHeight = twips(255);
    const int paneWidth = std::max(1, (m_client->width() - 3 * margin) / 2);
    const int listTop = twips(1080);
    const int listHeight = std::max(1, m_client->height() - listTop - 3 * labelHeight - margin);
    for (size_t p = 0; p < 2; ++p) {
        const int x = p == 0 ? margin : 2 * margin + paneWidth;
        DR1[p]->move(x, DR1[p]->y());
        Up1[p]->move(x + DR1[p]->width() + twips(10), Up1[p]->y());
        LVPATH[p]->setGeometry(x, LVPATH[p]->y(), paneWidth, LVPATH[p]->height());
        LV1[p]->setGeometry(x, listTop, paneWidth, listHeight);
        int y = listTop + listHeight;
        for (QLabel* label : {LVFC[p], SelFile[p], LVDrive[p]}) {
            label->setGeometry(x, y, paneWidth, labelHeight);
            y += labelHeight;
        }
    }
}

} // namespace vennic
