// The window as the run's host: inputs read from the controls, and the
// TrackSlots model shown in them.

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "app/file_names.h"
#include "app/main_window.h"
#include "app/window_texts.h"

namespace tonvika {

namespace {

void SetCellText(QTableWidget* table, int row, int column, const QString& text) {
  QTableWidgetItem* item = table->item(row, column);
  if (item == nullptr) {
    table->setItem(row, column, new QTableWidgetItem(text));  // owned by the table
    return;
  }
  if (item->text() != text) item->setText(text);
}

// The memos show the model's lines each followed by a plain line break.
std::string ShownPageText(const TrackSlots& model, int n) { return model.PageText(n, "\n"); }

}  // namespace

std::string TForm1::FilePath() {
  // During a run the path stays the one the run started with.
  return run_in_progress_ ? run_path_ : Label1FileBytes();
}

int TForm1::ReadSizeMegabytes() { return Label2->text().toInt(); }

DisplayLanguage TForm1::Language() {
  return RadioGroup1Items->checkedId() == 1 ? DisplayLanguage::English : DisplayLanguage::Japanese;
}

void TForm1::SetStatus(int panel, const std::string& text) {
  // Panel 0 shows the run's progress in the window's language, panel 1 a path.
  status_panels_.at(panel)->setText(panel == 0 ? WindowText(text.c_str()) : DisplayName(text));
}

void TForm1::SetCommandsEnabled(bool enabled) {
  Button1->setEnabled(enabled);
  N1->setEnabled(enabled);
  N2->menuAction()->setEnabled(enabled);
  InfoMenu->menuAction()->setEnabled(enabled);
  TitleSetMenu->menuAction()->setEnabled(enabled && disc_ != nullptr);
  EnableExtractMenu();
}

void TForm1::ProcessPendingEvents() {
  RefreshFromModel();
  QCoreApplication::processEvents();
}

void TForm1::RefreshFromModel() {
  refreshing_ = true;
  RefreshRows();
  RefreshPages();
  const QString report = DisplayName(slots_.ListReportText("\n"));
  if (Memo1->toPlainText() != report) Memo1->setPlainText(report);
  refreshing_ = false;
}

void TForm1::RefreshRows() {
  const auto& rows = slots_.Rows();
  ListView1->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    SetCellText(ListView1, row, 0, QString::fromStdString(rows[row].number));
    SetCellText(ListView1, row, 1, QString::fromStdString(rows[row].kind));
  }
}

void TForm1::RefreshPages() {
  for (int n = 0; n < kSlotCount; ++n) {
    std::string text = ShownPageText(slots_, n);
    // A memo is rewritten only when the model changed behind it, so that a
    // line the user is typing (not yet ended) is left alone.
    if (text != page_text_shown_[n]) {
      detail_memos_[n]->setPlainText(QString::fromStdString(text));
      page_text_shown_[n] = std::move(text);
    }
    PageControl1->setTabVisible(n, slots_.TabShown(n));
  }
  PageControl1->setVisible(slots_.DetailAreaShown());
}

void TForm1::PageEdited(int slot) {
  if (refreshing_) return;
  // What the user types is what the details export copies.
  slots_.SetPageText(slot, detail_memos_[slot]->toPlainText().toStdString());
  page_text_shown_[slot] = ShownPageText(slots_, slot);
}

}  // namespace tonvika
