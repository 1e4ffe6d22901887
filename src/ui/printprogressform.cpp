#include "ui/printprogressform.h"

#include "ui/sizingstrip.h"

#include <QVBoxLayout>

namespace vennic {

PrintProgressForm::PrintProgressForm(QWidget* parent, const QString& title) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrintProgressForm"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    m_strip = new SizingStrip(this, SizingStrip::DetailPlace::Below);
    m_strip->setAutoFillBackground(false);
    m_strip->setStopToolTip(QStringLiteral("Stop the print (Esc)"));
    layout->addWidget(m_strip);
    connect(m_strip, &SizingStrip::stopClicked, this, &PrintProgressForm::stopClicked);
}

void PrintProgressForm::setProgress(int rowsDone, int rows, const QString& detail)
{
    m_strip->showProgress(rowsDone, rows, QStringLiteral("%1 of %2").arg(rowsDone).arg(rows),
                          detail);
}

QString PrintProgressForm::barText() const
{
    return m_strip->barText();
}

QString PrintProgressForm::detailText() const
{
    return m_strip->detailText();
}

QPushButton* PrintProgressForm::stopButton() const
{
    return m_strip->stopButton();
}

void PrintProgressForm::reject()
{
    // The form goes when the work has ended, not before.
    Q_EMIT stopClicked();
}

} // namespace vennic
