// The table clients the hall has started: one per key ("seat" for the hall's own window, "robotN"
// for robots), each with its own application directory, ended when the hall closes.
#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <map>

namespace tallow::hall {

struct LaunchSpec {
  QString key;      // which seat this process serves
  QString label;    // how the log names it
  QString program;  // the tallow executable
  QString line;     // the whole command line, one argument
  QString appDir;   // TALLOW_APP_DIR; created when missing
  bool offscreen = false;
  QString assetsDir;  // the generated sounds the seat is given (seat_assets.h); empty: none
};

class SeatProcesses : public QObject {
  Q_OBJECT
 public:
  ~SeatProcesses() override;
  // Starts the client; false (with the reason in `error`) when it cannot be started.
  bool Start(const LaunchSpec& launch, QString& error);
  bool Running(const QString& key) const;
  // Ends the process (terminate, then kill after waitMs) and forgets it.
  void Stop(const QString& key, int waitMs = 2000);
  void StopAll(int waitMs = 2000);

 signals:
  void Log(const QString& line);
  void Ended(const QString& key);

 private:
  std::map<QString, QProcess*> processes_;
};

}  // namespace tallow::hall
