#include "ui/printprogressform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vennic {

PrintProgressForm::PrintProgressForm(QWidget* parent, const QString& title) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintProgressForm"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    auto* strip = new QHBoxLayout;
    strip->setSpacing(4);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(true);
    m_bar->setFormat(QString());
    m_bar->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000 of 000000")) +
                           16);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setToolTip(QStringLiteral("Stop the print (Esc)"));
    m_stop->setAutoDefault(false);
    strip->addWidget(m_bar, 1);
    strip->addWidget(m_stop);
    m_detail = new QLabel(this);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    layout->addLayout(strip);
    layout->addWidget(m_detail);
    connect(m_stop, &QPushButton::clicked, this, &PrintProgressForm::stopClicked);
}

void PrintProgressForm::setProgress(int rowsDone, int rows, const QString& detail)
{
    m_bar->setMaximum(std::max(1, rows));
    m_bar->setValue(std::min(rowsDone, rows));
    m_bar->setFormat(QStringLiteral("%1 of %2").arg(rowsDone).arg(rows));
    m_detail->setText(detail);
}

QString PrintProgressForm::barText() const
{
    return m_bar->text();
}

QString PrintProgressForm::detailText() const
{
    return m_detail->text();
}

void PrintProgressForm::reject()
{
    // The form goes when the work has ended, not before.
    Q_EMIT stopClicked();
}

} // namespace vennic
