#include "toolkit/qt/SimpleControls.h"

#include "text/AsciiCase.h"
#include "toolkit/qt/EventSink.h"
#include "toolkit/qt/TextBytes.h"

#include <QAbstractItemView>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace visemer {

ImageControl::ImageControl(QWidget* parent, bool sunken) : QFrame(parent) {
    if (sunken) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
        border_ = 2;
    }
    // The control paints all of itself, so showing a picture never repaints
    // the group box around it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageControl::setPicture(const QPixmap* picture) {
    if (picture && !picture->isNull()) {
        picture_ = *picture;
        resize(picture_.width() + 2 * border_, picture_.height() + 2 * border_);
    } else {
        picture_ = QPixmap();
    }
    // The preview steps through shapes without returning to the event loop,
    // so the new picture has to reach the screen now.
    repaint();
}

namespace {

// Qt's raster engine hands whatever it draws over more than about 96 lines
// to a pool of threads and waits for them; on a busy machine that wait now
// and then holds a shape back from the screen for tens of milliseconds.
// Drawn in bands no taller than this, the picture stays on this thread.
constexpr int kBandLines = 64;

} // namespace

void ImageControl::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    const QRect pictureArea(QPoint(border_, border_), picture_.size());
    QPainter painter(this);
    for (int top = area.top(); top <= area.bottom(); top += kBandLines) {
        const QRect band(area.left(), top, area.width(),
                         std::min(kBandLines, area.bottom() + 1 - top));
        painter.setClipRect(band);
        painter.fillRect(band, palette().window());
        const QRect shown = band.intersected(pictureArea);
        if (!picture_.isNull() && !shown.isEmpty())
            painter.drawPixmap(shown, picture_, shown.translated(-border_, -border_));
        drawFrame(&painter);
    }
}

ButtonControl::ButtonControl(QWidget* parent, const std::string& text, EventSink& sink, int number)
    : QPushButton(toQt(text), parent), text_(text) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this,
            [&sink, number] { sink.controlEvent(number, ClickType::Left); });
}

void ButtonControl::setText(const std::string& text) {
    text_ = text;
    QPushButton::setText(toQt(text));
}

LabelControl::LabelControl(QWidget* parent, const std::string& text)
    : QLabel(toQt(text), parent), text_(text) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LabelControl::setText(const std::string& text) {
    text_ = text;
    QLabel::setText(toQt(text));
}

LinkControl::LinkControl(QWidget* parent, const std::string& text, QColor hover, EventSink& sink,
                         int number)
    : LabelControl(parent, text), hover_(hover), sink_(sink), number_(number) {
    setCursor(Qt::PointingHandCursor);
    paintIn(Qt::black);
}

void LinkControl::paintIn(QColor colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

void LinkControl::enterEvent(QEnterEvent* event) {
    paintIn(hover_);
    LabelControl::enterEvent(event);
}

void LinkControl::leaveEvent(QEvent* event) {
    paintIn(Qt::black);
    LabelControl::leaveEvent(event);
}

void LinkControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        sink_.controlEvent(number_, ClickType::Left);
    LabelControl::mouseReleaseEvent(event);
}

GroupBoxControl::GroupBoxControl(QWidget* parent, const std::string& text)
    : QGroupBox(toQt(text), parent), text_(text) {}

void GroupBoxControl::setText(const std::string& text) {
    text_ = text;
    setTitle(toQt(text));
}

TextFieldControl::TextFieldControl(QWidget* parent, const std::string& text, bool readOnly,
                                   EventSink& sink, int number)
    : QLineEdit(toQt(text), parent), text_(text) {
    setReadOnly(readOnly);
    setFrame(true);
    connect(this, &QLineEdit::textEdited, this, [this, &sink, number] {
        edited_ = true;
        // The code an edit control sends when its text changes.
        sink.controlEvent(number, 0x300);
    });
}

std::string TextFieldControl::text() const {
    return edited_ ? fromQt(QLineEdit::text()) : text_;
}

void TextFieldControl::setText(const std::string& text) {
    text_ = text;
    edited_ = false;
    QLineEdit::setText(toQt(text));
}

OptionControl::OptionControl(QWidget* parent, const std::string& text, int group, EventSink& sink,
                             int number)
    : QRadioButton(toQt(text), parent), text_(text), group_(group) {
    // Groups follow creation order, not the parent widget, so Qt's own
    // exclusivity is off and checkAlone() does the work.
    setAutoExclusive(false);
    // Captions are laid out for a small circle and a narrow gap beside it
    // ("Browser" has 55 pixels in all).
    setStyleSheet(QStringLiteral("QRadioButton { spacing: 2px; }"
                                 "QRadioButton::indicator { width: 12px; height: 12px; }"));
    connect(this, &QRadioButton::clicked, this, [this, &sink, number] {
        checkAlone();
        sink.controlEvent(number, ClickType::Left);
    });
}

void OptionControl::checkAlone() {
    setChecked(true);
    if (!parentWidget())
        return;
    for (auto* sibling : parentWidget()->findChildren<OptionControl*>(Qt::FindDirectChildrenOnly))
        if (sibling != this && sibling->group_ == group_)
            sibling->setChecked(false);
}

void OptionControl::setValue(int value) {
    if (value == 1)
        checkAlone();
    else if (value == 0)
        setChecked(false);
}

void OptionControl::setText(const std::string& text) {
    text_ = text;
    QRadioButton::setText(toQt(text));
}

DropListControl::DropListControl(QWidget* parent, EventSink& sink, int number) : QComboBox(parent) {
    setEditable(false);
    // A plain list under the box that shows as many entries as the list's
    // height holds, and scrolls for the rest; the style's own popup would
    // open every entry in a column however long.
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(30);
    connect(this, &QComboBox::activated, this,
            [&sink, number] { sink.controlEvent(number, ClickType::DropListSelection); });
}

void DropListControl::showPopup() {
    if (listHeight_ > 0 && count() > 0) {
        const int row = std::max(1, view()->sizeHintForRow(0));
        const int room = listHeight_ - height() - 2 * view()->frameWidth() - 2;
        setMaxVisibleItems(std::max(1, room / row));
    }
    QComboBox::showPopup();
}

void DropListControl::setValue(int value) {
    if (value >= -1 && value < count())
        setCurrentIndex(value);
}

std::string DropListControl::text() const {
    const int index = currentIndex();
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return {};
    return entries_[index];
}

void DropListControl::setText(const std::string& text) {
    if (text.empty()) {
        setCurrentIndex(-1);
        return;
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (equalIgnoringAsciiCase(entries_[i], text)) {
            setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void DropListControl::addItem(int position, const std::string& text, const QIcon&) {
    const int at = (position < 0 || position > count()) ? count() : position;
    entries_.insert(entries_.begin() + at, text);
    // A combo box selects the first entry it gets; a drop-down list starts
    // with nothing selected.
    const bool noneSelected = currentIndex() < 0;
    insertItem(at, toQt(text));
    if (noneSelected)
        setCurrentIndex(-1);
}

void DropListControl::removeItem(int index) {
    if (index < 0 || index >= count())
        return;
    entries_.erase(entries_.begin() + index);
    QComboBox::removeItem(index);
}

void DropListControl::clearItems() {
    entries_.clear();
    clear();
}

std::string DropListControl::itemText(int index, int) const {
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return {};
    return entries_[index];
}

} // namespace visemer
