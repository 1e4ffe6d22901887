#include "ui/accessiblelabel.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace vennic {

namespace {

constexpr const char* NameProperty = "vennicAccessibleName";

class LabelInterface : public QAccessibleWidget {
public:
    explicit LabelInterface(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* label = static_cast<const QLabel*>(widget());
        const QString name = label->property(NameProperty).toString();
        const QString shown = label->text();
        return shown.isEmpty() ? name : name + QStringLiteral(": ") + shown;
    }
};

QAccessibleInterface* labelFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QLabel") || !object->property(NameProperty).isValid())
        return nullptr;
    return new LabelInterface(static_cast<QLabel*>(object));
}

} // namespace

void AccessibleLabel::name(QLabel& label, const QString& name)
{
    static const bool installed = [] {
        QAccessible::installFactory(labelFactory);
        return true;
    }();
    (void)installed;
    label.setProperty(NameProperty, name);
}

} // namespace vennic
