#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace ambrelay {
namespace {

const char* const kValueFieldProperty = "ambrelayValueField";

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

QAccessibleInterface* ValueFieldFactory(const QString& /*className*/, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (label && label->property(kValueFieldProperty).toBool()) {
        return new ValueFieldAccessible(label);
    }
    return nullptr;
}

}  // namespace

void MakeValueField(QLabel* label, const QString& name)
{
    static const bool installed = [] {
        QAccessible::installFactory(ValueFieldFactory);
        return true;
    }();
    (void)installed;
    label->setProperty(kValueFieldProperty, true);
    label->setAccessibleName(name);
}

void SetValueCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    QAccessibleEvent changed(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace ambrelay
