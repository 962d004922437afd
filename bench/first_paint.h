#pragma once
// Shared by the two start-up programs: when the window has been painted
// once, print the monotonic clock in nanoseconds and leave.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <ctime>

class FirstPaint final : public QObject {
public:
    explicit FirstPaint(QWidget* window) : window_(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Report after the paint has been handled and flushed.
            QMetaObject::invokeMethod(
                this,
                [] {
                    timespec now{};
                    clock_gettime(CLOCK_MONOTONIC, &now);
                    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(stdout);
                    QApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget* window_;
    bool done_ = false;
};
