#pragma once
// Tells a screen reader what just happened, in words, without anything to
// see: a one-pixel notification inside the interpretation box that shows
// itself with each message, which screen readers speak as it appears. It
// paints nothing.

#include <QWidget>

namespace ambrelay {

class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    // Speaks `text` once the events already queued (a focus change, say)
    // have been handled, so their own announcement does not cut it off.
    void Say(const QString& text);

    // The last message, for tests.
    QString LastMessage() const { return accessibleName(); }
};

}  // namespace ambrelay
