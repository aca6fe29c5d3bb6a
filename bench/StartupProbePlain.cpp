// The editor's main window built straight with Qt Widgets: the same
// pictures, menus and controls at the same places, with none of the
// program around them. It shows what Qt itself costs for such a window,
// so the benchmark can tell that apart from the program's own start-up.
#include "bench/FirstPaint.h"

#include "timeline/PlaybackRate.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {

QPushButton* button(QWidget* parent, const QString& text, QRect place) {
    auto* made = new QPushButton(text, parent);
    made->setGeometry(place);
    return made;
}

void addMenus(QMenuBar* bar) {
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    for (const char* item : {"New", "Open...", "Save", "Save As..."})
        file->addAction(QString::fromLatin1(item));
    file->addSeparator();
    file->addAction(QStringLiteral("Load Audio..."));
    file->addSeparator();
    file->addAction(QStringLiteral("Export Script..."));
    file->addSeparator();
    file->addAction(QStringLiteral("Exit"));
    QMenu* shapes = bar->addMenu(QStringLiteral("Shapes"));
    shapes->addAction(QStringLiteral("Load Images..."));
    shapes->addAction(QStringLiteral("Default Images"));
    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->addAction(QStringLiteral("Help..."));
    help->addAction(QStringLiteral("About..."));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    FirstPaint watch;
    application.installEventFilter(&watch);

    constexpr std::array<const char*, 10> kLetters{"A", "B", "C", "E", "F",
                                                   "L", "O", "Q", "R", "S"};
    std::array<QPixmap, 10> bitmaps;
    std::array<QIcon, 10> icons;
    for (std::size_t i = 0; i < kLetters.size(); ++i) {
        const QString letter = QString::fromLatin1(kLetters[i]);
        bitmaps[i] = QPixmap(QStringLiteral("images/%1.bmp").arg(letter));
        icons[i] = QIcon(QPixmap(QStringLiteral("images/%1.ico").arg(letter)));
    }
    const QPixmap about(QStringLiteral("images/about.bmp"));

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(&window);
    addMenus(bar);
    layout->setMenuBar(bar);
    auto* inner = new QWidget(&window);
    inner->setFixedSize(530, 260);
    QFont dialogFont(QStringLiteral("Arial"));
    dialogFont.setPixelSize(11);
    inner->setFont(dialogFont);
    layout->addWidget(inner);

    (new QGroupBox(QStringLiteral("Preview Window"), inner))->setGeometry(5, 5, 175, 231);
    (new QGroupBox(QStringLiteral("Sequencer"), inner))->setGeometry(184, 5, 167, 231);
    (new QGroupBox(QStringLiteral("Shapes and Delay"), inner))->setGeometry(355, 5, 170, 231);
    auto* preview = new QLabel(inner);
    preview->setPixmap(bitmaps[0]);
    preview->setGeometry(10, 20, 160, 160);

    auto* frames = new QStandardItemModel(10, 3, inner);
    frames->setHorizontalHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Image"), QStringLiteral("Delay")});
    for (int row = 0; row < 10; ++row)
        frames->setItem(row, 0, new QStandardItem(QString::number(row + 1)));
    auto* sequencer = new QTableView(inner);
    sequencer->verticalHeader()->hide();
    sequencer->setModel(frames);
    sequencer->setGeometry(189, 20, 156, 165);

    auto* phonemes = new QStandardItemModel(30, 1, inner);
    for (int row = 0; row < 30; ++row)
        phonemes->setItem(row, 0,
                          new QStandardItem(icons[static_cast<std::size_t>(row % 10)],
                                            QStringLiteral("P%1").arg(row)));
    auto* shapes = new QListView(inner);
    shapes->setViewMode(QListView::IconMode);
    shapes->setIconSize(QSize(32, 32));
    shapes->setGridSize(QSize(64, 52));
    shapes->setModel(phonemes);
    shapes->setGeometry(361, 20, 95, 210);

    button(inner, QStringLiteral("Play"), {25, 206, 50, 25});
    (new QLabel(QStringLiteral("FPS:"), inner))->setGeometry(90, 212, 30, 20);
    auto* fps = new QComboBox(inner);
    for (int rate = visemer::PlaybackRate::kLowestFps; rate <= visemer::PlaybackRate::kHighestFps;
         ++rate)
        fps->addItem(QString::number(rate));
    fps->setGeometry(118, 208, 40, 20);
    for (int i = 0; i < 9; ++i)
        button(inner, QString::number(i + 1), {465 + (i % 2) * 25, 24 + (i / 2) * 25, 25, 25});
    QFont padFont(QStringLiteral("Arial"));
    padFont.setPixelSize(16);
    for (const QRect place : {QRect(465, 199, 25, 25), QRect(490, 199, 25, 25),
                              QRect(215, 205, 25, 25), QRect(290, 205, 25, 25)})
        button(inner, QStringLiteral("-"), place)->setFont(padFont);
    (new QLabel(QStringLiteral("Total Frames"), inner))->setGeometry(233, 190, 65, 20);
    auto* total = new QLineEdit(QStringLiteral("10"), inner);
    total->setReadOnly(true);
    total->setGeometry(240, 207, 50, 20);
    (new QRadioButton(QStringLiteral("Browser"), inner))->setGeometry(35, 189, 55, 15);
    (new QRadioButton(QStringLiteral("Projector"), inner))->setGeometry(95, 189, 65, 15);

    window.show();
    return application.exec();
}
