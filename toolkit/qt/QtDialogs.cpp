// Message boxes and the file and folder requesters of QtToolkit.
#include "toolkit/DialogPaths.h"
#include "toolkit/FileFilter.h"
#include "toolkit/qt/QtToolkit.h"
#include "toolkit/qt/TextBytes.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace visemer {
namespace {

constexpr int kMaxPathLength = 10000;

// Qt's own requester, refusing a typed name whose folder does not exist.
class FileRequester final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        chosen_.clear();
        const auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = field ? field->text() : QString();
        if (fileMode() == QFileDialog::AnyFile && typed.contains(u'"')) {
            // Qt reads a name with double quotes in it as a list of quoted
            // names; here it is one name, taken as it stands.
            const QFileInfo chosen(directory(), typed);
            if (chosen.isDir()) {
                setDirectory(chosen.absoluteFilePath());
                return;
            }
            if (!QFileInfo(chosen.absolutePath()).isDir()) {
                refuseMissingFolder(chosen.absolutePath());
                return;
            }
            chosen_ = chosen.absoluteFilePath();
            QDialog::accept();
            return;
        }
        const QStringList files = selectedFiles();
        if (fileMode() == QFileDialog::AnyFile && !files.isEmpty()) {
            const QFileInfo chosen(files.first());
            if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
                refuseMissingFolder(chosen.absolutePath());
                return;
            }
        }
        QFileDialog::accept();
    }

    // The file chosen, exactly as it was typed or picked.
    QString chosenFile() const {
        if (!chosen_.isEmpty())
            return chosen_;
        const QStringList files = selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }

    // The entry of the file-type list in use. With the details hidden,
    // selectedNameFilter() gives only the label, which names no entry, so
    // the list's own position is read where there is one.
    int filterInUse(const QStringList& filters) const {
        if (const auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types && types->count() == filters.size() && types->currentIndex() >= 0)
            return types->currentIndex();
        return std::max(0, int(filters.indexOf(selectedNameFilter())));
    }

private:
    void refuseMissingFolder(const QString& folder) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(folder)));
    }

    QString chosen_;
};

QStringList qtNameFilters(const std::vector<FileFilterEntry>& entries) {
    QStringList filters;
    for (const auto& entry : entries) {
        QStringList patterns;
        for (const auto& pattern : entry.patterns)
            patterns << toQt(listingPattern(pattern));
        // Qt reads the patterns from the last parentheses and, with the
        // details hidden, shows only the label in front of them.
        filters << QStringLiteral("%1 (%2)").arg(toQt(entry.label), patterns.join(u' '));
    }
    return filters;
}

QMessageBox::Icon iconFor(int flags) {
    switch (flags & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtToolkit::messageBox(const std::string& title, const std::string& text, int flags) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(toQt(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQt(text));
    box.setIcon(iconFor(flags));
    if (flags & 0x1000)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);

    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    std::vector<Choice> choices;
    switch (flags & 0xF) {
    case 1:
        choices = {{QMessageBox::Ok, MessageBoxButton::Ok},
                   {QMessageBox::Cancel, MessageBoxButton::Cancel}};
        break;
    case 3:
        choices = {{QMessageBox::Yes, MessageBoxButton::Yes},
                   {QMessageBox::No, MessageBoxButton::No},
                   {QMessageBox::Cancel, MessageBoxButton::Cancel}};
        break;
    case 4:
        choices = {{QMessageBox::Yes, MessageBoxButton::Yes},
                   {QMessageBox::No, MessageBoxButton::No}};
        break;
    default:
        choices = {{QMessageBox::Ok, MessageBoxButton::Ok}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const auto& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.front().button);
    box.setEscapeButton(choices.back().button);

    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const auto& choice : choices)
        if (choice.button == pressed)
            return choice.result;
    return choices.back().result;
}

std::string QtToolkit::runFileDialog(bool save, const std::string& title,
                                     const std::string& defaultFile, const std::string& filter,
                                     int filterIndex) {
    const RequesterStart start = splitDefaultFile(defaultFile);
    FileRequester dialog(dialogParent(), toQt(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(start.folder.empty() ? QDir::currentPath() : toQt(start.folder));
    const QStringList filters = qtNameFilters(parseFileFilter(filter));
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(std::clamp(filterIndex, 0, int(filters.size()) - 1)));
    }
    if (!start.name.empty())
        dialog.selectFile(toQt(start.name));

    selectedFilter_ = -1;
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return {};
    selectedFilter_ = filters.isEmpty() ? 0 : dialog.filterInUse(filters);
    return fromQt(dialog.chosenFile().left(kMaxPathLength));
}

std::string QtToolkit::openFileDialog(const std::string& title, const std::string& defaultFile,
                                      const std::string& filter, int filterIndex) {
    return runFileDialog(false, title, defaultFile, filter, filterIndex);
}

std::string QtToolkit::saveFileDialog(const std::string& title, const std::string& defaultFile,
                                      const std::string& filter, int filterIndex) {
    return runFileDialog(true, title, defaultFile, filter, filterIndex);
}

std::string QtToolkit::folderDialog(const std::string& title, const std::string& initialFolder) {
    FileRequester dialog(dialogParent(), toQt(title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    const std::string start = folderRequesterStart(initialFolder);
    if (!start.empty())
        dialog.setDirectory(toQt(start));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withTrailingSeparator(fromQt(dialog.selectedFiles().first().left(kMaxPathLength)));
}

} // namespace visemer
