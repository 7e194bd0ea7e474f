#pragma once
// What the window says about an extraction: a stream as a menu item, the
// result in the status bar, and the warnings a written file comes with.

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <string>

#include "app/extraction_runner.h"

namespace tonvika {

class ExtractionTexts {
  Q_DECLARE_TR_FUNCTIONS(tonvika::ExtractionTexts)

 public:
  // "0x80 AC-3 英語 3/2ch 448Kbps…": the stream, its language named in
  // the window's language, the layout and rate its file name gives.
  static QString StreamItem(const PlannedStream& stream, const std::string& language_name);
  // One line for the status bar: written, cancelled or failed, and which.
  static QString Status(const ExtractionResult& result, const ExtractionJob& job, bool with_reason);
  // A line per damage or gap in the written files, and per file not written.
  static QStringList Warnings(const ExtractionOutcome& outcome, bool with_reason);
};

}  // namespace tonvika
