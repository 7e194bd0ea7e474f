#pragma once
// The stream list: what the information file declares beside the tracks
// the last run found, with the run's notes.

#include <QDialog>
#include <QString>

#include "analysis/analysis_run.h"
#include "analysis/track_slots.h"

class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace tonvika {

class StreamsDialog : public QDialog {
  Q_OBJECT

 public:
  // `path` is the analysed file as the list report names it (empty before any run).
  StreamsDialog(const QString& path, const RunOutcome& outcome, const TrackSlots& model, QWidget* parent = nullptr);

  // The marker's tooltip: a heading and one line per note.
  static QString NotesTooltip(const RunOutcome& outcome);

 private:
  void FillStreams(const RunOutcome& outcome, const TrackSlots& model);
  void FillNotes(const RunOutcome& outcome);

  QLabel* source_ = nullptr;
  QTableWidget* streams_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
};

}  // namespace tonvika
