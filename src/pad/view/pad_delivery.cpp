#include "pad/view/pad_delivery.h"

#include "engine/keys.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleHints>

namespace plumix {

namespace {

struct QtKey {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

QtKey QtKeyFor(PadKey pad)
{
    const Qt::KeyboardModifiers shift = (pad.shift & ShiftMaskShift) != 0 ? Qt::ShiftModifier : Qt::NoModifier;
    switch (pad.keyCode) {
    case VkLeft: return {Qt::Key_Left, shift, {}};
    case VkRight: return {Qt::Key_Right, shift, {}};
    case VkUp: return {Qt::Key_Up, shift, {}};
    case VkDown: return {Qt::Key_Down, shift, {}};
    case VkSpace: return {Qt::Key_Space, shift, QStringLiteral(" ")};
    case VkEscape: return {Qt::Key_Escape, shift, QString(QChar(27))};
    case VkReturn: return {Qt::Key_Return, shift, QStringLiteral("\r")};
    // Qt names Shift+Tab a key of its own.
    case VkTab: return {shift != Qt::NoModifier ? Qt::Key_Backtab : Qt::Key_Tab, shift, QStringLiteral("\t")};
    default: break;
    }
    if (pad.keyCode >= VkF1 && pad.keyCode < VkF1 + 24) {
        return {Qt::Key_F1 + (pad.keyCode - VkF1), shift, {}};
    }
    return {};
}

bool HasFocusableChild(const QWidget* window)
{
    const auto children = window->findChildren<QWidget*>();
    return std::any_of(children.begin(), children.end(), [](const QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisible() && w->isEnabled();
    });
}

constexpr int FallbackDelayMs = 500;

} // namespace

QWidget* PadTarget()
{
    // Another program has the focus: the keys are not ours.
    if (QGuiApplication::applicationState() != Qt::ApplicationActive) {
        return nullptr;
    }
    // A window of ours waiting for the player takes every key, as it would the keyboard's.
    QWidget* focus = QApplication::focusWidget();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (focus != nullptr && focus->window() == modal) {
            return focus;
        }
        return modal->focusWidget() != nullptr ? modal->focusWidget() : modal;
    }
    return focus != nullptr ? focus : QApplication::activeWindow();
}

PadContext PadContextOf(const QWidget* target)
{
    if (target == nullptr || qobject_cast<const QDialog*>(target->window()) == nullptr) {
        return PadContext::Game;
    }
    if (qobject_cast<const QLineEdit*>(target) != nullptr || qobject_cast<const QAbstractSpinBox*>(target) != nullptr) {
        return PadContext::TextEntry;
    }
    // Left and right run down a vertical scroll bar as they run down a list.
    const auto* slider = qobject_cast<const QAbstractSlider*>(target);
    if (qobject_cast<const QComboBox*>(target) != nullptr || qobject_cast<const QAbstractItemView*>(target) != nullptr ||
        (slider != nullptr && slider->orientation() == Qt::Vertical)) {
        return PadContext::List;
    }
    return HasFocusableChild(target->window()) ? PadContext::Dialog : PadContext::AnyKey;
}

void PadKeyDelivery::KeyDown(PadKey key, bool autoRepeat)
{
    QWidget* target = PadTarget();
    const QtKey qt = QtKeyFor(key);
    if (target == nullptr || qt.key == 0) {
        return;
    }
    pressedOn_[key.keyCode] = target;
    QKeyEvent event(QEvent::KeyPress, qt.key, qt.modifiers, qt.text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void PadKeyDelivery::KeyUp(PadKey key)
{
    const auto at = pressedOn_.find(key.keyCode);
    if (at == pressedOn_.end()) {
        return;
    }
    const QPointer<QWidget> target = at->second;
    pressedOn_.erase(at);
    const QtKey qt = QtKeyFor(key);
    if (target != nullptr && qt.key != 0) {
        QKeyEvent event(QEvent::KeyRelease, qt.key, qt.modifiers, qt.text);
        QApplication::sendEvent(target, &event);
    }
}

void PadKeyDelivery::PadUnplugged()
{
    if (unplugged_) {
        unplugged_();
    }
}

bool XServerKeyRepeat(KeyRepeat& repeat);  // desktop_repeat_x11.cpp

KeyRepeat DesktopKeyRepeat()
{
    KeyRepeat repeat;
    if (XServerKeyRepeat(repeat)) {
        return repeat;
    }
    repeat.delayMs = FallbackDelayMs;
    const int rate = QGuiApplication::styleHints()->keyboardAutoRepeatRate();
    repeat.intervalMs = rate > 0 ? std::max(1, 1000 / rate) : repeat.intervalMs;
    return repeat;
}

} // namespace plumix
