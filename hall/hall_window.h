// The hall's main window: takes a seat on the server's seating interface, starts the table
// client with its command line, answers the client's window messages and logs its notifications.
// Before the player leaves the table, closes the hall or goes elsewhere, it asks the client
// whether that is possible now, and offers the leave order when a game is running.
#pragma once

#include <QString>
#include <QThreadPool>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "hall_options.h"
#include "leave_answers.h"
#include "platform/qt/qt_hall_link.h"
#include "seat_processes.h"

class QMessageBox;

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
  // Asks the table client whether the player may leave, and acts on its answer.
  void Leave();
  // Closes the hall; a player at a table leaves it first. With `askPlayer` false (scripts, quit
  // signals) a running game is given up without asking.
  void CloseHall(bool askPlayer);
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
  bool PlayerClientRunning() const;
  void SitDownNow();
  void WatchNow();
  void LaunchOwnSeat(const HallOptions& o, const std::string& line, Mode mode);
  void LaunchRobot(const HallOptions& o, int seat);
  void Report(const std::string& what, const std::string& error);

  // The open question to the table client and what it is for.
  struct Question {
    int serial = 0;
    LeavePurpose purpose = LeavePurpose::kLeave;
    std::uint32_t asked = 0;     // the message whose answer is awaited
    bool askPlayer = true;       // a running game is given up only when the player agrees
    std::function<void()> then;  // kMove: where the player goes once he has left
    int loginWaits = 0;          // answers "a login is pending" so far
  };
  // Asks the first question for `purpose`; replaces any open question.
  void Ask(LeavePurpose purpose, bool askPlayer, std::function<void()> then = {});
  void SendToOwnSeat(std::uint32_t msg);
  void OnAnswer(std::uint32_t msg);
  void OfferLeaveOrder();
  void TellPlayer(const QString& text);
  void Finish();
  // The caption the hall's own table client listens under.
  std::string RunningCaption() const;
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
  std::optional<Question> question_;
  int serial_ = 0;
  QMessageBox* box_ = nullptr;  // the open message to the player, if any
  bool closing_ = false;        // the player has left: the hall may close
  bool closeAsks_ = true;       // a close from the window's own button asks the player
  QThreadPool pool_;
};

}  // namespace tallow::hall
