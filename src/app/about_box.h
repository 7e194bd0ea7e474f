#pragma once
// "バージョン情報": the program's name, version, license and home page.

#include <QDialog>

namespace tonvika {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace tonvika
