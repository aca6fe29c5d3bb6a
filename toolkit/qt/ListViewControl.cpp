#include "toolkit/qt/ListViewControl.h"

#include "toolkit/qt/EventSink.h"
#include "toolkit/qt/IconCellDelegate.h"

#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTableView>
#include <utility>

namespace visemer {
namespace {

// Changes of the model that move the selection as a side effect are not
// selection changes the program asked for, so they are not reported.
class QuietScope {
public:
    explicit QuietScope(int& depth) : depth_(depth) { ++depth_; }
    ~QuietScope() { --depth_; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& depth_;
};

// The two views of a list. A view that gains the keyboard focus picks a
// current row of its own accord; that is not a change the user made to any
// row, so it is not reported. The selection moves only by clicks, arrow
// keys and the program: typing a letter never searches the rows, and Tab
// leaves the list for the next control.
template <typename View> class ListView final : public View {
public:
    ListView(QWidget* parent, int& quiet) : View(parent), quiet_(quiet) {
        View::setTabKeyNavigation(false);
    }
    void keyboardSearch(const QString&) override {}

protected:
    // Home and End go to the first and last row, as Ctrl+Home and Ctrl+End
    // do; a table would otherwise take them to its first and last column.
    QModelIndex moveCursor(QAbstractItemView::CursorAction action,
                           Qt::KeyboardModifiers modifiers) override {
        if (action == QAbstractItemView::MoveHome || action == QAbstractItemView::MoveEnd)
            modifiers |= Qt::ControlModifier;
        return View::moveCursor(action, modifiers);
    }
    void focusInEvent(QFocusEvent* event) override {
        QuietScope quiet(quiet_);
        View::focusInEvent(event);
    }

private:
    int& quiet_;
};

// Large icons: a cell of the grid holds a 32-pixel icon over a line of text.
const QSize kIconCell(64, 52);
const QSize kIconBox(32, 32);

} // namespace

ListViewControl::ListViewControl(QWidget* parent, const std::string& firstColumnTitle,
                                 int firstColumnWidth, std::uint32_t flags, EventSink& sink,
                                 int number)
    : QWidget(parent), sink_(sink), number_(number),
      multiSelect_((flags & ListFlag::MultiSelect) != 0), model_(this, firstColumnTitle),
      selection_(&model_), stack_(new QStackedLayout(this)),
      report_(new ListView<QTableView>(this, quiet_)),
      icons_(new ListView<QListView>(this, quiet_)), plainCells_(icons_->itemDelegate()),
      iconCells_(new IconCellDelegate(this, kIconCell - QSize(2, 2), kIconBox)) {
    stack_->setContentsMargins(0, 0, 0, 0);
    const auto mode =
        multiSelect_ ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;

    report_->setModel(&model_);
    report_->setSelectionModel(&selection_);
    report_->setSelectionMode(mode);
    report_->setSelectionBehavior(QAbstractItemView::SelectRows);
    report_->setShowGrid((flags & ListFlag::GridLines) != 0);
    report_->setWordWrap(false);
    report_->setCornerButtonEnabled(false);
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->verticalHeader()->hide();
    report_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    report_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    report_->horizontalHeader()->setHighlightSections(false);
    report_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    report_->horizontalHeader()->setStretchLastSection(false);
    report_->setColumnWidth(0, firstColumnWidth);

    icons_->setModel(&model_);
    icons_->setSelectionModel(&selection_);
    icons_->setSelectionMode(mode);
    icons_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_->setMovement(QListView::Static);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setUniformItemSizes(true);

    stack_->addWidget(report_);
    stack_->addWidget(icons_);
    stack_->setCurrentWidget(report_);

    fitRowsToFont();
    report_->viewport()->installEventFilter(this);
    icons_->viewport()->installEventFilter(this);
    report_->installEventFilter(this);
    icons_->installEventFilter(this);
    connect(&selection_, &QItemSelectionModel::selectionChanged, this, [this] {
        lowestSelected_.reset();
        reportChange();
    });
    connect(&model_, &QAbstractItemModel::rowsInserted, this, [this] { lowestSelected_.reset(); });
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, [this] { lowestSelected_.reset(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { lowestSelected_.reset(); });
    connect(&selection_, &QItemSelectionModel::currentChanged, this, [this] { reportChange(); });
}

void ListViewControl::fitRowsToFont() {
    report_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 3);
    report_->horizontalHeader()->setFixedHeight(QFontMetrics(font()).height() + 6);
}

void ListViewControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        fitRowsToFont();
    QWidget::changeEvent(event);
}

void ListViewControl::reportChange() {
    if (quiet_ == 0)
        sink_.controlEvent(number_, ClickType::None);
}

void ListViewControl::setDisplayMode(ListDisplayMode mode) {
    if (mode == ListDisplayMode::Report) {
        stack_->setCurrentWidget(report_);
        return;
    }
    if (mode == ListDisplayMode::LargeIcons) {
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(kIconBox);
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWrapping(true);
        icons_->setSpacing(2);
        icons_->setTextElideMode(Qt::ElideNone);
        icons_->setGridSize(kIconCell);
        icons_->setItemDelegate(iconCells_);
    } else {
        icons_->setItemDelegate(plainCells_);
        icons_->setViewMode(QListView::ListMode);
        icons_->setIconSize(QSize(16, 16));
        icons_->setFlow(mode == ListDisplayMode::List ? QListView::TopToBottom
                                                      : QListView::LeftToRight);
        icons_->setWrapping(true);
    }
    icons_->setMovement(QListView::Static);
    stack_->setCurrentWidget(icons_);
}

QAbstractItemView* ListViewControl::activeView() const {
    return stack_->currentWidget() == report_ ? static_cast<QAbstractItemView*>(report_)
                                              : static_cast<QAbstractItemView*>(icons_);
}

QWidget* ListViewControl::focusTarget() {
    return activeView();
}

// A command may move the selection or write cells a million times before
// the list is drawn again; asking once for the whole list to be drawn
// serves them all.
void ListViewControl::repaintList() {
    if (repaintAsked_)
        return;
    repaintAsked_ = true;
    activeView()->viewport()->update();
}

bool ListViewControl::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((watched == report_ || watched == icons_) &&
        (type == QEvent::KeyPress || type == QEvent::ShortcutOverride || type == QEvent::FocusIn))
        settle();
    if (watched == report_->viewport() || watched == icons_->viewport()) {
        if (type == QEvent::Paint) {
            repaintAsked_ = false;
            settle();
        }
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::MouseButtonRelease || type == QEvent::MouseMove)
            settle();
        // A list in a window turned off still sees the presses here, before
        // Qt drops them; they must not reach the program either.
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) &&
            isEnabled()) {
            const auto button = static_cast<QMouseEvent*>(event)->button();
            const bool twice = type == QEvent::MouseButtonDblClick;
            if (button == Qt::LeftButton)
                sink_.controlEvent(number_, twice ? ClickType::Double : ClickType::Left);
            else if (button == Qt::RightButton)
                sink_.controlEvent(number_, twice ? ClickType::RightDouble : ClickType::Right);
        }
    }
    return QWidget::eventFilter(watched, event);
}

int ListViewControl::value() const {
    if (heldRow_)
        return *heldRow_;
    if (!lowestSelected_) {
        int lowest = -1;
        for (const QItemSelectionRange& range : selection_.selection())
            if (lowest < 0 || range.top() < lowest)
                lowest = range.top();
        lowestSelected_ = lowest;
    }
    return *lowestSelected_;
}

bool ListViewControl::onlyRowSelected(int row) const {
    if (value() != row)
        return false;
    const QItemSelection ranges = selection_.selection();
    return ranges.size() == 1 && ranges.first().bottom() == row;
}

// A command may append a million rows, or move the selection of a one-row
// list as often when it walks the frames. The control answers its own
// queries from its rows and the selection it holds, and tells Qt's views
// and selection once, before anything can show them or act on them: a
// paint, the user's input, the next pass of the event loop, or a change of
// the rows that is not an append.
void ListViewControl::settleLater() {
    if (settleQueued_)
        return;
    settleQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            settleQueued_ = false;
            settle();
        },
        Qt::QueuedConnection);
}

void ListViewControl::holdSelection(int row) {
    heldRow_ = row;
    lowestSelected_ = row;
    settleLater();
}

void ListViewControl::settle() {
    model_.announceRows();
    if (!heldRow_)
        return;
    const int row = std::exchange(heldRow_, std::nullopt).value();
    if (!model_.cells().hasRow(row))
        return;
    const QModelIndex index = model_.index(row, 0);
    const QSignalBlocker quiet(&selection_);
    selection_.select(index, QItemSelectionModel::Rows | QItemSelectionModel::ClearAndSelect);
    selection_.setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void ListViewControl::selectRow(int row, bool alone) {
    if (alone && !multiSelect_) {
        const bool already = heldRow_
                                 ? *heldRow_ == row
                                 : selection_.currentIndex().row() == row && onlyRowSelected(row);
        if (already)
            return;
        holdSelection(row);
        repaintList();
        reportChange();
        return;
    }
    settle();
    if (selection_.currentIndex().row() == row &&
        (alone ? onlyRowSelected(row) : selection_.isRowSelected(row, {})))
        return;
    const QModelIndex index = model_.index(row, 0);
    const auto command = QItemSelectionModel::Rows | (alone ? QItemSelectionModel::ClearAndSelect
                                                            : QItemSelectionModel::Select);
    {
        // The program moves the selection many times in a row when it walks
        // the frames; the view repaints once afterwards instead of working
        // out each move, and the list never scrolls for it.
        const QSignalBlocker quiet(&selection_);
        selection_.select(index, command);
        selection_.setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
    if (alone || lowestSelected_ == -1)
        lowestSelected_ = row;
    else if (lowestSelected_)
        lowestSelected_ = std::min(*lowestSelected_, row);
    repaintList();
    reportChange();
}

void ListViewControl::setValue(int value) {
    if (value == -1) {
        settle();
        selection_.clearSelection();
        return;
    }
    if (model_.cells().hasRow(value))
        selectRow(value, !multiSelect_);
}

int ListViewControl::itemState(int index) const {
    if (!model_.cells().hasRow(index))
        return 0;
    if (heldRow_)
        return *heldRow_ == index ? 1 : 0;
    return selection_.isRowSelected(index, {}) ? 1 : 0;
}

void ListViewControl::setItemState(int index, int state) {
    if (!model_.cells().hasRow(index))
        return;
    if (state & 1) {
        selectRow(index, !multiSelect_);
        return;
    }
    settle();
    selection_.select(model_.index(index, 0),
                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

void ListViewControl::addItem(int position, const std::string& text, const QIcon& icon) {
    if (heldRow_)
        settle();
    QuietScope quiet(quiet_);
    model_.insertRow(position, text, icon);
    if (model_.hasUnannouncedRows())
        settleLater();
}

void ListViewControl::removeItem(int index) {
    settle();
    QuietScope quiet(quiet_);
    // Qt hands the focus of a removed row to a neighbour and, in a
    // single-selection view, selects it too. Removing a row selects nothing
    // here, so the focus goes with the row.
    if (selection_.currentIndex().row() == index)
        selection_.setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    model_.removeRow(index);
}

void ListViewControl::clearItems() {
    settle();
    QuietScope quiet(quiet_);
    model_.clearRows();
}

std::string ListViewControl::itemText(int index, int column) const {
    return model_.cells().cell(index, column);
}

void ListViewControl::setItemText(int index, const std::string& text, int column) {
    // A report of fixed-height rows only needs repainting when a cell
    // changes; one repaint serves however many cells a command writes.
    const bool report = activeView() == report_;
    if (model_.setCell(index, column, text, report) && report)
        repaintList();
}

void ListViewControl::addColumn(int position, const std::string& title, int width) {
    model_.insertColumn(position, title);
    const int at = std::clamp(position, 0, model_.columnCount() - 1);
    report_->setColumnWidth(at, width);
}

void ListViewControl::refreshRow(int row) {
    if (model_.cells().hasRow(row))
        repaintList();
}

} // namespace visemer
