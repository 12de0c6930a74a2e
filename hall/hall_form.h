// The hall window's fields, buttons and log list; it knows nothing of servers or clients.
#pragma once

#include <QWidget>

#include "hall_options.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace tallow::hall {

class HallForm : public QWidget {
  Q_OBJECT
 public:
  explicit HallForm(const HallOptions& initial, QWidget* parent = nullptr);
  // The options as the fields show them now (fields the window has no place for keep `base`).
  HallOptions Read(const HallOptions& base) const;
  QString WatchTarget() const;
  void AddLogLine(const QString& line);
  QStringList LogLines() const;

  QPushButton* sit = nullptr;
  QPushButton* watch = nullptr;
  QPushButton* leave = nullptr;
  QPushButton* robots = nullptr;

 private:
  QLineEdit* account_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* host_ = nullptr;
  QSpinBox* port_ = nullptr;
  QSpinBox* seatPort_ = nullptr;
  QLineEdit* proxyHost_ = nullptr;
  QSpinBox* proxyPort_ = nullptr;
  QLineEdit* proxyUser_ = nullptr;
  QLineEdit* proxyPassword_ = nullptr;
  QSpinBox* table_ = nullptr;
  QComboBox* seat_ = nullptr;
  QLineEdit* watchTarget_ = nullptr;
  QListWidget* log_ = nullptr;
};

}  // namespace tallow::hall
