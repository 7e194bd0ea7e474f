#pragma once
// The language the window speaks: Japanese, its own, or English.

#include <QStringList>

class QCoreApplication;

namespace tonvika {

// English when the desktop's first UI language is neither Japanese nor the
// C/POSIX locale (which is what no setting at all gives).
bool PrefersEnglish(const QStringList& ui_languages);

// Loads the English translation (built into the program) when the desktop
// prefers it, and Qt's own texts for the language spoken when installed.
void InstallTranslations(QCoreApplication& app);

}  // namespace tonvika
