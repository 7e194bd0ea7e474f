#include "app/ui_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tonvika {

namespace {

constexpr const char* kEnglishTranslation = ":/i18n/tonvika_en.qm";

// Installs a translator, owned by the application, when its file loads.
void Install(QCoreApplication& app, const QString& file, const QString& folder = {}) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(file, folder)) return;
  translator->setParent(&app);
  QCoreApplication::installTranslator(translator.release());
}

}  // namespace

bool PrefersEnglish(const QStringList& ui_languages) {
  if (ui_languages.isEmpty()) return false;
  const QString first = ui_languages.constFirst();
  if (first == u"C" || first == u"POSIX") return false;
  return QLocale(first).language() != QLocale::Japanese;
}

void InstallTranslations(QCoreApplication& app) {
  const bool english = PrefersEnglish(QLocale::system().uiLanguages());
  if (english) Install(app, QString::fromLatin1(kEnglishTranslation));
  // Qt's own dialog texts are English already; Japanese ones are used when
  // the system has them.
  if (!english) Install(app, QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace tonvika
