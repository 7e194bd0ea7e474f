// The window's handlers: browse, read size, analyse, drop, key chord, and
// the one place where a run's errors are reported.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

#include "app/about_box.h"
#include "io/file_error.h"
#include "app/clipboard_export.h"
#include "app/drop_rules.h"
#include "app/file_names.h"
#include "app/flag_scope.h"
#include "app/main_window.h"
#include "app/up_down.h"
#include "app/window_texts.h"

namespace tonvika {

namespace {

constexpr Qt::KeyboardModifiers kTraceChord = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

std::optional<QString> RunDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

}  // namespace

void TForm1::Button3Click() {
  if (run_in_progress_) return;  // the file of a running analysis stays shown
  QStringList filters;
  for (const char* filter : kOpenDialogFilters) filters << WindowText(filter);
  filters << tr(kDvdImageFilter);
  OpenDialog1->setNameFilters(filters);
  OpenDialog1->selectNameFilter(filters.constFirst());
  // Any typed name is taken, as the run reports a file it cannot open.
  OpenDialog1->setFileMode(QFileDialog::AnyFile);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  const auto chosen = ChooseFile(*OpenDialog1);
  if (chosen && !run_in_progress_) {
    ForgetDisc();
    SetFileName(FileNameBytes(*chosen));
  }
}

std::optional<QString> TForm1::ChooseFile(QFileDialog& dialog) {
  return options_.choose_file ? options_.choose_file(dialog) : RunDialog(dialog);
}

void TForm1::UpDown1Click() { Label2->setText(QString::number(UpDown1->Position())); }

void TForm1::N1Click() { RunGuarded(); }

void TForm1::OpenFromCommandLine(const std::string& path) {
  if (run_in_progress_) return;
  ForgetDisc();
  SetFileName(AbsolutePath(path));
  RunGuarded();
}

void TForm1::SetFileName(const std::string& path) {
  file_bytes_ = path;
  file_shown_ = DisplayName(path);
  Label1->setText(file_shown_);
}

std::string TForm1::Label1FileBytes() const {
  // Label1 set from elsewhere names the file by its text.
  return Label1->text() == file_shown_ ? file_bytes_ : Label1->text().toStdString();
}

bool TForm1::RunGuarded(const std::function<void()>& undo_on_failure) {
  if (run_in_progress_) return false;  // no second run inside one in progress
  QString error;
  QString reason;
  {
    FlagScope running(run_in_progress_);
    StatusBar1->clearMessage();  // an extraction's result is about the run before
    run_path_ = Label1FileBytes();
    try {
      AnalysisReport outcome = RunSource();
      // A run that changed nothing leaves the last results, and their notes.
      if (outcome.changed) {
        last_outcome_ = std::move(outcome);
        last_path_ = run_path_;
      }
    } catch (const FileError& e) {
      error = FileErrorText(e.path());
      reason = QString::fromStdString(e.reason());
      last_outcome_ = {};
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
      last_outcome_ = {};
    }
  }
  if (!error.isEmpty() && undo_on_failure) undo_on_failure();
  RefreshFromModel();
  ShowRunNotes();
  RefreshTitleSetMenu();
  FillExtractMenu();
  // The reason comes from the core, in English: beneath a message in
  // Japanese it would mix the two languages.
  if (!error.isEmpty()) ShowMessage(error, WindowSpeaksEnglish() ? reason : QString());
  return error.isEmpty();
}

void TForm1::ShowMessage(const QString& text, const QString& detail) {
  const QString caption = QGuiApplication::applicationDisplayName();
  if (options_.show_message) {
    options_.show_message(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, this);
  // The system's (or the disc reader's) reason, beneath the message itself.
  box.setInformativeText(detail);
  box.exec();
}

void TForm1::N3Click() {
  const ClipboardText result = ListExportText(slots_);
  if (!result.refusal.empty()) {
    ShowMessage(WindowText(result.refusal.c_str()));
    return;
  }
  QGuiApplication::clipboard()->setText(DisplayName(result.text));
}

void TForm1::N4Click() {
  const ClipboardText result = DetailsExportText(Label1->text().toStdString(), slots_);
  if (!result.refusal.empty()) {
    ShowMessage(WindowText(result.refusal.c_str()));
    return;
  }
  QGuiApplication::clipboard()->clear();
  QGuiApplication::clipboard()->setText(QString::fromStdString(result.text));
}

void TForm1::About1Click() {
  auto* box = new TAboutBox(this);  // owned by the window until it closes
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (run_in_progress_ || !FirstDroppedFile(event->mimeData())) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::optional<std::string> path = FirstDroppedFile(event->mimeData());
  if (run_in_progress_ || !path) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  DropFile(*path);
}

void TForm1::DropFile(const std::string& path) {
  ForgetDisc();
  SetFileName(IsDropAccepted(path, CheckBox1->isChecked()) ? path : std::string());
  RunGuarded();  // with an empty Label1 the run does nothing
}

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Pause && (modifiers & kTraceChord) == kTraceChord) {
    slots_.SetSyncTraceEnabled(!slots_.SyncTraceEnabled());
  }
  Label8->setText(slots_.SyncTraceEnabled() ? QStringLiteral("*") : QString());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (event->type() != QEvent::KeyPress || widget == nullptr) {
    handled_key_ = nullptr;  // any other event ends the way up of the last press
    return QMainWindow::eventFilter(watched, event);
  }
  // A key the focused control ignores travels up to its parents; it is the
  // same press and counts once.
  if (event == handled_key_ || widget->window() != this) return QMainWindow::eventFilter(watched, event);
  handled_key_ = event;
  const auto* key = static_cast<QKeyEvent*>(event);
  FormKeyDown(key->key(), key->modifiers());
  return QMainWindow::eventFilter(watched, event);  // the key goes on as usual
}

}  // namespace tonvika
