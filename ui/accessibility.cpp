#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <cmath>

#include "ui/upright_bar.h"

namespace ambrelay {
namespace {

const char* const kValueFieldProperty = "ambrelayValueField";
const char* const kFrameProperty = "ambrelayFrame";

class ValueFieldAccessible final : public QAccessibleWidget {
public:
    explicit ValueFieldAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        const auto* label = static_cast<const QLabel*>(widget());
        if (kind == QAccessible::Name) {
            const QString caption = label->text();
            return caption.isEmpty() ? label->accessibleName() : label->accessibleName() + QStringLiteral(", ")
                                                                     + caption;
        }
        if (kind == QAccessible::Value) {
            return label->text();
        }
        return QAccessibleWidget::text(kind);
    }
};

// A likelihood bar: the drawn scale runs from 70 to 100, but a screen reader
// computes a percentage from the value, minimum and maximum it is given, so it
// is given the likelihood as a share of 100 (98.214 is read as 98 percent).
class LikelihoodBarAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit LikelihoodBarAccessible(UprightBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value) {
            return QString::number(Bar()->Value(), 'f', 0) + QStringLiteral("%");
        }
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return static_cast<int>(std::lround(Bar()->Value())); }
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    UprightBar* Bar() const { return static_cast<UprightBar*>(widget()); }
};

QAccessibleInterface* ValueFieldFactory(const QString& /*className*/, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(kValueFieldProperty).toBool()) {
        return new ValueFieldAccessible(label);
    }
    if (auto* bar = qobject_cast<UprightBar*>(object)) {
        return new LikelihoodBarAccessible(bar);
    }
    // The program's window is a frame with its title as name, not a bare container.
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(kFrameProperty).toBool()) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

void InstallFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(ValueFieldFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace

void MakeValueField(QLabel* label, const QString& name)
{
    InstallFactory();
    label->setProperty(kValueFieldProperty, true);
    label->setAccessibleName(name);
}

void SetValueCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void MakeFrame(QWidget* window)
{
    InstallFactory();
    window->setProperty(kFrameProperty, true);
}

}  // namespace ambrelay
