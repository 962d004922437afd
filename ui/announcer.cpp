#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>

namespace ambrelay {
namespace {

class NotificationAccessible final : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Notification) {}
};

QAccessibleInterface* NotificationFactory(const QString& /*className*/, QObject* object)
{
    auto* announcer = qobject_cast<Announcer*>(object);
    return announcer ? new NotificationAccessible(announcer) : nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(NotificationFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcer::Say(const QString& text)
{
    hide();
    setAccessibleName(text);
    QTimer::singleShot(0, this, [this] { show(); });
}

}  // namespace ambrelay
