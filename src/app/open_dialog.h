#pragma once
// The browse dialog: files as before, and a DVD folder chosen as it is. A
// folder that holds a disc (a VIDEO_TS folder, or one holding it) is taken
// when the user selects it and presses Open; any other folder is entered as
// usual, and a double click enters every folder, a DVD folder too.

#include <QFileDialog>

namespace tonvika {

class TOpenDialog : public QFileDialog {
 public:
  explicit TOpenDialog(QWidget* parent);

 protected:
  void accept() override;
};

// True when a folder is taken as a disc rather than entered.
bool IsDiscFolder(const QString& path);

}  // namespace tonvika
