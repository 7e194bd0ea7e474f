#pragma once
// An extraction run off the window's thread: the core writes the files in
// a worker thread while the window's events (and its progress dialog) go
// on; progress arrives as a queued signal, and cancelling is a flag the
// core asks between pieces.

#include <QObject>
#include <atomic>
#include <optional>
#include <string>

#include "extract/extraction_job.h"

namespace tonvika {

class ExtractionProgress : public QObject, public ExtractionObserver {
  Q_OBJECT

 public:
  static constexpr int kSteps = 1000;  // the progress bar's range

  // Called from the worker: a signal at each step of kSteps, not each piece.
  void Progress(std::uint64_t done, std::uint64_t total) override;
  bool Cancelled() override { return cancelled_.load(); }
  // From any thread: the core stops at its next piece.
  void Cancel() { cancelled_.store(true); }

 signals:
  void Advanced(int step);

 private:
  std::atomic<bool> cancelled_{false};
  std::atomic<int> step_{-1};
};

struct ExtractionResult {
  enum class Ending { Finished, Cancelled, Failed };
  Ending ending = Ending::Failed;
  ExtractionOutcome outcome;  // when Finished
  std::string failed_path;    // when Failed: the file (source or output) that failed, and why
  std::string reason;
};

// Runs `job` over `reader` in a worker thread and returns once it ended;
// the calling thread's events are processed meanwhile. Nothing is left of
// an unfinished file, whatever ends the run.
ExtractionResult RunExtractionInWorker(const ExtractionJob& job, StreamReader& reader, ExtractionProgress& progress);

}  // namespace tonvika
