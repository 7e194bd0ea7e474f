#include "app/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <filesystem>

#include "io/file_error.h"
#include "app/window_texts.h"

namespace tonvika {

TForm1::TForm1(FormOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)) {
  if (options_.language_table_path.empty()) options_.language_table_path = DefaultLanguageTablePath();
  FormCreate();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

void TForm1::FormCreate() {
  BuildControls();
  // Files dropped anywhere on the window reach dropEvent.
  setAcceptDrops(true);
  PageControl1->setCurrentIndex(0);
  slots_.RemoveAllRows();
  slots_.AddEightRows();
  RefreshFromModel();
  LoadLanguages();
  slots_.SetSyncTraceEnabled(false);
  // Key preview: the window sees every key before the control with the focus.
  qApp->installEventFilter(this);
  ListView1->setFocus();
}

void TForm1::LoadLanguages() {
  const std::string& path = options_.language_table_path;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    ShowMessage(WindowText(kCodeCsvMissing));
    return;
  }
  try {
    languages_ = LoadLanguageTable(path);
    if (!GivesLanguageNames(languages_)) {
      //: The notes marker's tooltip when code.csv is read but names no language; %1 is its path.
      table_warning_ = tr("%1 には言語名の行がありません\n言語識別は略号になります").arg(DisplayName(path));
      ShowRunNotes();
    }
  } catch (const FileError& e) {
    ShowMessage(FileErrorText(e.path()));
  }
  QStringList lines;
  for (const std::string& line : languages_.lines) lines << QString::fromStdString(line);
  code->setPlainText(lines.join(u'\n'));
}

}  // namespace tonvika
