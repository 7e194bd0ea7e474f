// Tonvika: the window. `tonvika [FILE]` analyses FILE once the window is up.

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "app/application_setup.h"
#include "app/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tonvika::InitialiseApplication(app);
  tonvika::TForm1 form;
  const QRect desktop = form.screen()->availableGeometry();
  form.move(desktop.center() - form.rect().center());
  form.show();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) {
    const QString path = arguments.at(1);
    QTimer::singleShot(0, &form, [&form, path] { form.OpenFromCommandLine(path); });
  }
  return app.exec();
}
