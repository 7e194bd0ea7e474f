#include "app/extraction_runner.h"

#include <QEventLoop>
#include <QThread>
#include <algorithm>
#include <exception>
#include <memory>

#include "io/file_error.h"

namespace tonvika {

namespace {

// In the worker: whatever the core throws becomes the result, for no
// exception may leave a thread.
ExtractionResult RunCaught(const ExtractionJob& job, StreamReader& reader, ExtractionProgress& progress) {
  ExtractionResult result;
  try {
    result.outcome = RunExtractionJob(job, reader, progress);
    result.ending = ExtractionResult::Ending::Finished;
  } catch (const ExtractionCancelled&) {
    result.ending = ExtractionResult::Ending::Cancelled;
  } catch (const FileError& e) {
    result.failed_path = e.path();
    result.reason = e.reason();
  } catch (const std::exception& e) {
    result.reason = e.what();
  }
  return result;
}

}  // namespace

void ExtractionProgress::Progress(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return;
  const int step = static_cast<int>(std::min(done, total) * kSteps / total);
  // Only a new step is queued: a long stream has hundreds of thousands of pieces.
  if (step_.exchange(step) != step) emit Advanced(step);
}

ExtractionResult RunExtractionInWorker(const ExtractionJob& job, StreamReader& reader, ExtractionProgress& progress) {
  ExtractionResult result;
  const std::unique_ptr<QThread> worker(
      QThread::create([&job, &reader, &progress, &result] { result = RunCaught(job, reader, progress); }));
  QEventLoop loop;
  QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec();
  // The loop also ends when the application quits: the worker is stopped
  // and waited for, so that its files are cleaned up before the window goes.
  if (!worker->isFinished()) progress.Cancel();
  worker->wait();
  return result;
}

}  // namespace tonvika
