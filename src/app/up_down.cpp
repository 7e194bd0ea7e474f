#include "app/up_down.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>

namespace tonvika {

namespace {
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;
}  // namespace

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  connect(&repeat_, &QTimer::timeout, this, &TUpDown::RepeatStep);
}

void TUpDown::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  position_ = std::clamp(position_, minimum_, maximum_);
}

void TUpDown::SetPosition(int position) { position_ = std::clamp(position, minimum_, maximum_); }

void TUpDown::Step(Button button) {
  SetPosition(position_ + (button == Button::Up ? 1 : -1));
  emit Clicked(button);
}

QRect TUpDown::ButtonRect(Button button) const {
  const int half = height() / 2;
  return button == Button::Up ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
}

TUpDown::Button TUpDown::ButtonAt(const QPoint& point) const {
  return point.y() < height() / 2 ? Button::Up : Button::Down;
}

void TUpDown::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (const Button button : {Button::Up, Button::Down}) {
    QStyleOption option;
    option.initFrom(this);
    option.rect = ButtonRect(button);
    option.state |= (pressed_ == button) ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    option.rect.adjust(3, 1, -3, -1);
    const auto arrow = button == Button::Up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
    style()->drawPrimitive(arrow, &option, &painter, this);
  }
}

void TUpDown::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = ButtonAt(event->position().toPoint());
  update();
  Step(*pressed_);
  repeat_.start(kFirstRepeatMs);
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  repeat_.stop();
  pressed_.reset();
  update();
}

void TUpDown::RepeatStep() {
  if (!pressed_) return;
  repeat_.setInterval(kRepeatMs);
  Step(*pressed_);
}

}  // namespace tonvika
