#pragma once
// An up-down spinner without a text field: two arrow buttons stacked in a
// small square, stepping a position between a minimum and a maximum.

#include <QTimer>
#include <QWidget>
#include <optional>

namespace tonvika {

class TUpDown : public QWidget {
  Q_OBJECT

 public:
  enum class Button { Up, Down };

  explicit TUpDown(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  int Position() const { return position_; }

  // One step as a click on the arrow gives: no wrap-around at either end;
  // the click is reported even when the position stays.
  void Step(Button button);

  QSize sizeHint() const override { return {17, 17}; }

 signals:
  void Clicked(tonvika::TUpDown::Button button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect ButtonRect(Button button) const;
  Button ButtonAt(const QPoint& point) const;
  void RepeatStep();

  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  std::optional<Button> pressed_;
  QTimer repeat_;  // holding an arrow down keeps stepping
};

}  // namespace tonvika
