#include "app/application_setup.h"

#include <QApplication>
#include <QStyleFactory>

#include "app/app_fonts.h"
#include "app/app_icon.h"

namespace tonvika {

void InitialiseApplication(QApplication& app) {
  // Only the name is set: a display name would be appended to every window
  // title ("Tonvika v1.05 — Tonvika"); the display name falls back to it.
  QApplication::setApplicationName(QStringLiteral("Tonvika"));
  QApplication::setApplicationVersion(QStringLiteral("1.05"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tonvika"));
  // One look on every desktop, so that the fixed layout holds.
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(WindowFont());
  QApplication::setWindowIcon(AppIcon());
}

}  // namespace tonvika
