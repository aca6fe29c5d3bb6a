#pragma once

// Ends a start-up probe at the first paint of its first window, printing
// the moment on the monotonic clock, which the benchmark shares.
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <unistd.h>

class FirstPaint final : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow()) {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                _exit(0);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
