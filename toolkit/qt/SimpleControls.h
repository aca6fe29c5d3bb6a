#pragma once

#include "toolkit/qt/QtControl.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace visemer {

class EventSink;

class ImageControl final : public QFrame, public QtControl {
public:
    ImageControl(QWidget* parent, bool sunken);
    QWidget* widget() override { return this; }
    void setPicture(const QPixmap* picture) override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    int border_ = 0;
};

class ButtonControl final : public QPushButton, public QtControl {
public:
    ButtonControl(QWidget* parent, const std::string& text, EventSink& sink, int number);
    QWidget* widget() override { return this; }
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;

private:
    std::string text_;
};

class LabelControl : public QLabel, public QtControl {
public:
    LabelControl(QWidget* parent, const std::string& text);
    QWidget* widget() override { return this; }
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;

private:
    std::string text_;
};

// Text drawn black, in its colour while the pointer is over it, with a hand
// pointer; releasing the left button over it reports a left click.
class LinkControl final : public LabelControl {
public:
    LinkControl(QWidget* parent, const std::string& text, QColor hover, EventSink& sink,
                int number);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintIn(QColor colour);
    QColor hover_;
    EventSink& sink_;
    int number_;
};

class GroupBoxControl final : public QGroupBox, public QtControl {
public:
    GroupBoxControl(QWidget* parent, const std::string& text);
    QWidget* widget() override { return this; }
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;

private:
    std::string text_;
};

class TextFieldControl final : public QLineEdit, public QtControl {
public:
    TextFieldControl(QWidget* parent, const std::string& text, bool readOnly, EventSink& sink,
                     int number);
    QWidget* widget() override { return this; }
    std::string text() const override;
    void setText(const std::string& text) override;

private:
    std::string text_;
    bool edited_ = false;
};

// Option buttons that share a group number uncheck each other; the toolkit
// gives consecutive ones the same number.
class OptionControl final : public QRadioButton, public QtControl {
public:
    OptionControl(QWidget* parent, const std::string& text, int group, EventSink& sink, int number);
    QWidget* widget() override { return this; }
    int group() const { return group_; }
    int value() const override { return isChecked() ? 1 : 0; }
    void setValue(int value) override;
    std::string text() const override { return text_; }
    void setText(const std::string& text) override;

private:
    void checkAlone();
    std::string text_;
    int group_;
};

class DropListControl final : public QComboBox, public QtControl {
public:
    DropListControl(QWidget* parent, EventSink& sink, int number);
    QWidget* widget() override { return this; }
    int value() const override { return currentIndex(); }
    void setValue(int value) override;
    std::string text() const override;
    void setText(const std::string& text) override;
    void addItem(int position, const std::string& text, const QIcon& icon) override;
    void removeItem(int index) override;
    void clearItems() override;
    int itemCount() const override { return count(); }
    std::string itemText(int index, int column) const override;

    // The height the box and its opened list may take together.
    void setListHeight(int height) { listHeight_ = height; }
    void showPopup() override;

private:
    std::vector<std::string> entries_;
    int listHeight_ = 0;
};

} // namespace visemer
