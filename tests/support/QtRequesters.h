#pragma once

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <memory>

namespace visemer::testing {

// Runs the action on the next file requester as soon as it is on screen.
inline void withNextRequester(std::function<void(QFileDialog*)> action, int pollMs = 20) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
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
        action(dialog);
    });
    timer->start(pollMs);
}

// Picks a file-type entry, as the user would in the requester's list.
inline void pickFileType(QFileDialog* dialog, int entry) {
    if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
        types->setCurrentIndex(entry);
        Q_EMIT types->activated(entry);
    }
}

// Types a name into the next file requester, with the file-type entry
// picked when one is given, and accepts it.
inline void answerRequester(const QString& name, int fileType = -1, int pollMs = 20) {
    withNextRequester(
        [name, fileType](QFileDialog* dialog) {
            if (fileType >= 0)
                pickFileType(dialog, fileType);
            if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                field->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        },
        pollMs);
}

inline void cancelRequester() {
    withNextRequester([](QFileDialog* dialog) { QMetaObject::invokeMethod(dialog, "reject"); });
}

} // namespace visemer::testing
