#include "app/app_fonts.h"

#include <QStringList>

namespace tonvika {

QFont WindowFont(int pixel_size) {
  QFont font;
  // Noto Sans CJK JP is what Debian ships; IPAGothic is the usual alternative.
  font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  return font;
}

}  // namespace tonvika
