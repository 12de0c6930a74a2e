// The hall's main window: takes a seat on the server's seating interface, starts the table
// client with its command line, answers the client's window messages and logs its notifications.
#pragma once

#include <QString>
#include <QThreadPool>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "hall_options.h"
#include "platform/qt/qt_hall_link.h"
#include "seat_processes.h"

namespace tallow::hall {

class HallForm;

class HallWindow : public QWidget {
  Q_OBJECT
 public:
  // `client` is the tallow program, `data` the directory that holds the seats' directories,
  // `assets` the generated sounds and phrase file the seats are given (none when empty).
  HallWindow(HallOptions options, QString client, QString data, QString assets = {});
  ~HallWindow() override;

  // Listens under the window caption; false when another hall answers under it already.
  bool Listen();
  void SitDown();
  void Watch();
  void Leave();
  void FillWithRobots(int count);
  void Log(const QString& line);
  QStringList LogLines() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class Mode { kNone, kPlayer, kSpectator };

  std::int32_t OnMessage(std::uint32_t msg, std::uint32_t wParam);
  // The caption of the hall's own table window: "tallow", or a robot caption in a robot hall.
  std::string OwnCaption(const HallOptions& o) const;
  bool RobotHall() const;
  QString SeatDir(const std::string& account) const;
  void StopOwnSeatUnless(Mode mode, const std::string& account);
  void LaunchOwnSeat(const HallOptions& o, const std::string& line, Mode mode);
  void LaunchRobot(const HallOptions& o, int seat);
  void Report(const std::string& what, const std::string& error);

  HallOptions options_;  // start-up options; the form overrides what it shows
  QString client_;
  QString data_;
  QString assets_;
  HallForm* form_ = nullptr;
  SeatProcesses processes_;
  platform::qt::QtHallLink link_;
  std::map<int, std::unique_ptr<platform::qt::QtHallLink>> robotHalls_;
  Mode ownMode_ = Mode::kNone;
  std::string ownAccount_;
  QThreadPool pool_;
};

}  // namespace tallow::hall
