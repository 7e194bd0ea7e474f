#pragma once
// The stream list: every audio stream the last run met (the same columns
// as tonvika-cli --streams), what the information file declares beside the
// tracks found, and the run's notes.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "view/window_run.h"
#include "view/track_slots.h"

class QLabel;
class QPushButton;
class QPlainTextEdit;
class QTableWidget;

namespace tonvika {

class StreamsDialog : public QDialog {
  Q_OBJECT

 public:
  // `path` is the analysed file as the list report names it (empty before any run).
  using LanguageName = std::function<std::string(const std::string&)>;
  StreamsDialog(const QString& path, const AnalysisReport& outcome, const TrackSlots& model,
                const LanguageName& language_name, QWidget* parent = nullptr);

  // The marker's tooltip: a heading and one line per note.
  static QString NotesTooltip(const AnalysisReport& outcome);

  // The streams (by id) its button 抽出… takes out when selected.
  void OfferExtraction(const std::vector<int>& keys);

 signals:
  void ExtractRequested(int key);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillAudioStreams(const AnalysisReport& outcome, const LanguageName& language_name);
  void FillStreams(const AnalysisReport& outcome, const TrackSlots& model);
  int AudioRowsShown() const;
  std::optional<int> SelectedExtractable() const;
  int DeclaredRowsShown() const;
  void FillNotes(const AnalysisReport& outcome);

  QLabel* source_ = nullptr;
  QTableWidget* audio_streams_ = nullptr;
  QTableWidget* streams_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
  QPushButton* extract_ = nullptr;
  std::vector<std::optional<int>> row_ids_;  // the audio table's rows: their stream ids
  std::vector<int> extractable_;
};

}  // namespace tonvika
