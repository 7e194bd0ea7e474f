#pragma once
// What the program sets on the application before it creates its window.

class QApplication;

namespace tonvika {

// Title "Tonvika" (task bar entry and message box caption), version,
// desktop entry, translations, style, font, icon.
void InitialiseApplication(QApplication& app);

}  // namespace tonvika
