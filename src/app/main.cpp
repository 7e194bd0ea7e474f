// Tonvika: the window. `tonvika [FILE]` analyses FILE once the window is up.

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <iostream>

#include "app/application_setup.h"
#include "app/main_window.h"
#include "app/window_arguments.h"
#include "app/window_texts.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[]) { return {argv + 1, argv + argc}; }

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before the application exists: no display is needed for them.
  const tonvika::WindowArguments early = tonvika::ParseWindowArguments(Arguments(argc, argv));
  if (early.action == tonvika::WindowAction::Help) {
    std::cout << tonvika::WindowUsageText();
    return 0;
  }
  if (early.action == tonvika::WindowAction::Version) {
    std::cout << "tonvika " << tonvika::kVersion << "\n";
    return 0;
  }
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  // argv, not QApplication::arguments(): a file name's bytes stay as they are.
  const tonvika::WindowArguments arguments = tonvika::ParseWindowArguments(Arguments(argc, argv));
  if (arguments.action == tonvika::WindowAction::UsageError) {
    std::cerr << "tonvika: " << arguments.error << "\nTry 'tonvika --help' for more information.\n";
    return tonvika::kWindowExitUsage;
  }
  tonvika::InitialiseApplication(app);
  tonvika::TForm1 form;
  const QRect desktop = form.screen()->availableGeometry();
  form.move(desktop.center() - form.rect().center());
  form.show();
  if (arguments.file) {
    const std::string path = *arguments.file;
    QTimer::singleShot(0, &form, [&form, path] { form.OpenFromCommandLine(path); });
  }
  return app.exec();
}
