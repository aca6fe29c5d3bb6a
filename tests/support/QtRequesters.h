#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <memory>

namespace visemer::testing {

// Types a name into the next file requester and accepts it, as soon as
// the requester is on screen.
inline void answerRequester(const QString& name, int pollMs = 20) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, name] {
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<QFileDialog*>(widget);
                candidate && candidate->isVisible())
                dialog = candidate;
        if (!dialog) {
            if (++*tries > 250)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            field->setText(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start(pollMs);
}

} // namespace visemer::testing
