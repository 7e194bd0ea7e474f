#include "app/application_setup.h"

#include <QApplication>
#include <QStyleFactory>

#include "app/app_fonts.h"
#include "app/app_icon.h"
#include "app/ui_language.h"
#include "app/window_texts.h"

namespace tonvika {

void InitialiseApplication(QApplication& app) {
  // Only the name is set: a display name would be appended to every window
  // title ("Tonvika v1.05 — Tonvika"); the display name falls back to it.
  QApplication::setApplicationName(QStringLiteral("Tonvika"));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  // The desktop entry's name (the application id), which ties the window to it.
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kApplicationId));
  InstallTranslations(app);
  // One look on every desktop, so that the fixed layout holds.
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(WindowFont());
  QApplication::setWindowIcon(AppIcon());
}

}  // namespace tonvika
