#include "app/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace tonvika {

namespace {

constexpr int kDesignSize = 64;  // org.example.tonvika.svg's view box
constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128};

struct Bar {
  int x, y, height;
};
// Three level bars beside the disc, as in org.example.tonvika.svg.
constexpr Bar kBars[] = {{40, 26, 12}, {46, 20, 24}, {52, 23, 18}};

QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / double(kDesignSize), size / double(kDesignSize));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x3a, 0x68));
  painter.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
  painter.setBrush(QColor(0xd8, 0xdd, 0xe6));
  painter.drawEllipse(QPointF(22, 32), 14, 14);
  painter.setBrush(QColor(0x1f, 0x3a, 0x68));
  painter.drawEllipse(QPointF(22, 32), 4, 4);
  painter.setBrush(QColor(0xf0, 0xa0, 0x30));
  for (const Bar& bar : kBars) painter.drawRoundedRect(QRectF(bar.x, bar.y, 4, bar.height), 1.5, 1.5);
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (const int size : kIconSizes) icon.addPixmap(DrawIcon(size));
  return icon;
}

}  // namespace tonvika
