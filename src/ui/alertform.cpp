#include "ui/alertform.h"

#include <QHideEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegion>

namespace vennic {

namespace {

constexpr int FormWidth = 300;
constexpr int FormHeight = 200;
/// How far the octagon's corners are cut, in pixels.
constexpr int Cut = 50;
const QColor Ground(170, 0, 0);

} // namespace

AlertForm::AlertForm(QWidget& owner, bool& answer)
    : QWidget(&owner, Qt::Window | Qt::FramelessWindowHint), m_answer(answer)
{
    setWindowTitle(QStringLiteral("WARNING!!"));
    setFixedSize(FormWidth, FormHeight);

    Label1 = new QLabel(QStringLiteral("WARNING!!"), this);
    QFont big = Label1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.8);
    Label1->setFont(big);
    Label2 = new QLabel(QStringLiteral("Command1 changes the alignment of a column of the left "
                                       "list. Go on?"),
                        this);
    Label2->setWordWrap(true);
    for (QLabel* label : {Label1, Label2}) {
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    }
    Label1->setGeometry(Cut / 2, 28, FormWidth - Cut, 40);
    Label2->setGeometry(Cut / 2, 72, FormWidth - Cut, 56);

    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BtnOK->setGeometry(FormWidth / 2 - 95, 140, 85, 28);
    BtnCancel->setGeometry(FormWidth / 2 + 10, 140, 85, 28);
    BtnCancel->setDefault(true);
    connect(BtnOK, &QPushButton::clicked, this, &AlertForm::BtnOK_Click);
    connect(BtnCancel, &QPushButton::clicked, this, &AlertForm::BtnCancel_Click);

    // Over the main window, near its middle.
    const QPoint middle = owner.geometry().center();
    move(middle.x() - FormWidth / 2, middle.y() - FormHeight / 2);
}

void AlertForm::BtnOK_Click()
{
    m_answer = true;
    hide();
}

void AlertForm::BtnCancel_Click()
{
    hide();
}

QPolygon AlertForm::outline() const
{
    const int w = width();
    const int h = height();
    return QPolygon({QPoint(Cut, 0), QPoint(w - Cut, 0), QPoint(w, Cut), QPoint(w, h - Cut),
                     QPoint(w - Cut, h), QPoint(Cut, h), QPoint(0, h - Cut), QPoint(0, Cut)});
}

void AlertForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setMask(QRegion(outline()));
}

void AlertForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Ground);
    painter.setPen(QPen(Qt::white, 6));
    painter.drawPolygon(outline());
}

void AlertForm::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_dragging = false;
    // A hide the window system reports (the main window minimized) is no answer; the form
    // comes back with its window.
    if (!event->spontaneous())
        Q_EMIT closed();
}

void AlertForm::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void AlertForm::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    move(event->globalPosition().toPoint() - m_grabOffset);
    event->accept();
}

void AlertForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace vennic
