#include "framework/Accessibility.h"

#include "framework/Forms.h"
#include "framework/TrackBar.h"

#include <QAccessibleWidget>

namespace {

class TrackBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TrackBarAccessible(TTrackBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return Bar()->ValueText();
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return Bar()->Position(); }
    void setCurrentValue(const QVariant& value) override { Bar()->SetPosition(value.toInt()); }
    QVariant maximumValue() const override { return Bar()->Max(); }
    QVariant minimumValue() const override { return Bar()->Min(); }
    QVariant minimumStepSize() const override { return Bar()->LineSize(); }

private:
    TTrackBar* Bar() const { return static_cast<TTrackBar*>(widget()); }
};

QAccessibleInterface* FrameworkAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("TTrackBar"))
        return new TrackBarAccessible(static_cast<TTrackBar*>(object));
    if (className == QLatin1String("TForm"))
        return new QAccessibleWidget(static_cast<TForm*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(FrameworkAccessible);
        return true;
    }();
    (void)installed;
}
