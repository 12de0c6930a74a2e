#include "seat_processes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcessEnvironment>

#include "platform/hall_link_contract.h"
#include "seat_assets.h"

namespace tallow::hall {

SeatProcesses::~SeatProcesses() {
  StopAll();
}

bool SeatProcesses::Start(const LaunchSpec& launch, QString& error) {
  if (Running(launch.key)) {
    error = launch.label + " is running already";
    return false;
  }
  if (!QDir().mkpath(launch.appDir)) {
    error = "cannot create " + launch.appDir;
    return false;
  }
  if (!launch.assetsDir.isEmpty()) {
    // Without its sounds the client is silent, but it plays.
    const std::string e =
        ProvideSeatAssets(launch.assetsDir.toStdString(), launch.appDir.toStdString());
    if (!e.empty()) emit Log(launch.label + ": " + QString::fromStdString(e));
  }
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("TALLOW_APP_DIR", launch.appDir);
  // The client must look for windows where the hall listens.
  env.insert("TALLOW_RUNTIME_DIR", QString::fromStdString(platform::hall_link::RuntimeDir()));
  // A seat without a window is a robot nobody listens to: it plays no sound either.
  if (launch.offscreen) {
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TALLOW_NO_SOUND", "1");
  }

  auto* p = new QProcess(this);
  p->setProperty("label", launch.label);
  p->setProcessEnvironment(env);
  p->setWorkingDirectory(launch.appDir);
  p->setStandardOutputFile(QProcess::nullDevice());
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  const QString key = launch.key;
  const QString label = launch.label;
  connect(p, &QProcess::finished, this, [this, p, key, label](int code, QProcess::ExitStatus st) {
    emit Log(st == QProcess::CrashExit ? label + " ended abnormally"
                                       : label + " ended, exit code " + QString::number(code));
    const auto it = processes_.find(key);
    if (it != processes_.end() && it->second == p) processes_.erase(it);
    p->deleteLater();
    emit Ended(key);
  });
  p->start(launch.program, {launch.line});
  if (!p->waitForStarted(5000)) {
    error = "cannot start " + launch.program + ": " + p->errorString();
    p->disconnect(this);
    p->deleteLater();
    return false;
  }
  processes_[key] = p;
  emit Log(label + " started, pid " + QString::number(p->processId()));
  return true;
}

bool SeatProcesses::Running(const QString& key) const {
  return processes_.count(key) != 0;
}

void SeatProcesses::Stop(const QString& key, int waitMs) {
  const auto it = processes_.find(key);
  if (it == processes_.end()) return;
  QProcess* p = it->second;
  const QString label = p->property("label").toString();
  processes_.erase(it);
  p->disconnect(this);
  p->terminate();
  if (!p->waitForFinished(waitMs)) {
    p->kill();
    p->waitForFinished(1000);
  }
  emit Log(label + " stopped");
  p->deleteLater();
  emit Ended(key);
}

void SeatProcesses::StopAll(int waitMs) {
  // Ask every one first, then wait for all within one deadline.
  QDeadlineTimer deadline(waitMs);
  for (auto& [key, p] : processes_) {
    p->disconnect(this);
    p->terminate();
  }
  for (auto& [key, p] : processes_) {
    if (!p->waitForFinished(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)))) {
      p->kill();
      p->waitForFinished(1000);
    }
    p->deleteLater();
  }
  processes_.clear();
}

}  // namespace tallow::hall
