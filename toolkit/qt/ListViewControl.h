#pragma once

#include "toolkit/qt/ListModel.h"
#include "toolkit/qt/QtControl.h"

#include <QItemSelectionModel>
#include <QWidget>
#include <optional>

class QAbstractItemDelegate;
class QListView;
class QStackedLayout;
class QTableView;
class QAbstractItemView;

namespace visemer {

class EventSink;

// A list of rows with text cells, shown as a report with column headers or
// as icons. Both views share one model and one selection, and every change
// of the selection, by the user or by the program, is reported as an event
// of the control.
class ListViewControl final : public QWidget, public QtControl {
public:
    ListViewControl(QWidget* parent, const std::string& firstColumnTitle, int firstColumnWidth,
                    std::uint32_t flags, EventSink& sink, int number);
    QWidget* widget() override { return this; }
    QWidget* focusTarget() override;

    void setDisplayMode(ListDisplayMode mode);

    int value() const override;
    void setValue(int value) override;
    void addItem(int position, const std::string& text, const QIcon& icon) override;
    void removeItem(int index) override;
    void clearItems() override;
    int itemCount() const override { return model_.cells().rowCount(); }
    int itemState(int index) const override;
    void setItemState(int index, int state) override;
    std::string itemText(int index, int column) const override;
    void setItemText(int index, const std::string& text, int column) override;
    void addColumn(int position, const std::string& title, int width) override;
    void refreshRow(int row) override;

    QAbstractItemView* activeView() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void selectRow(int row, bool alone);
    bool onlyRowSelected(int row) const;
    void reportChange();
    void repaintList();
    void settleLater();
    void holdSelection(int row);
    void settle();
    void fitRowsToFont();

    EventSink& sink_;
    int number_;
    bool multiSelect_;
    int quiet_ = 0;
    bool repaintAsked_ = false;
    // A one-row selection made by the program and not yet handed to Qt.
    std::optional<int> heldRow_;
    bool settleQueued_ = false;
    // The lowest selected row, worked out again only after the selection
    // changed in a way the control did not make itself.
    mutable std::optional<int> lowestSelected_;
    ListModel model_;
    QItemSelectionModel selection_;
    QStackedLayout* stack_;
    QTableView* report_;
    QListView* icons_;
    QAbstractItemDelegate* plainCells_;
    QAbstractItemDelegate* iconCells_;
};

} // namespace visemer
