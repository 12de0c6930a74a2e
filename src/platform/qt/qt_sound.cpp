#include "platform/qt/qt_sound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QUrl>
#include <atomic>
#include <cmath>
#include <mutex>

namespace tallow::platform::qt {
namespace {

std::atomic<QtMessageHandler> previousHandler{nullptr};

// Qt Multimedia reports a missing sound server with a warning of the default category, once
// per process; a machine without sound is normal here, so that warning is dropped and every
// other message goes on to the handler installed before.
void DropNoSoundServerWarnings(QtMsgType type, const QMessageLogContext& context,
                               const QString& message) {
  if (type == QtWarningMsg && message.startsWith(QLatin1String("PulseAudioService:"))) return;
  if (QtMessageHandler previous = previousHandler.load()) previous(type, context, message);
}

// TALLOW_NO_SOUND keeps a client off the audio output: the robots of a table on one machine.
bool HaveAudioOutput() {
  if (qEnvironmentVariableIsSet("TALLOW_NO_SOUND")) return false;
  return !QMediaDevices::defaultAudioOutput().isNull();
}

}  // namespace

double LinearVolume(int volume) {
  if (volume >= 0) return 1.0;
  if (volume <= -10000) return 0.0;
  return std::pow(10.0, volume / 2000.0);  // hundredths of a dB -> amplitude
}

QtSound::QtSound() {
  static std::once_flag installed;
  std::call_once(installed,
                 [] { previousHandler = qInstallMessageHandler(DropNoSoundServerWarnings); });
}

bool QtSound::Open() {
  return HaveAudioOutput();
}

bool QtSound::Play(const std::string& path, bool loop) {
  effect_.reset();
  current_.clear();
  const QFileInfo file(QString::fromStdString(path));
  if (!file.isFile()) return false;
  current_ = path;
  // Without an output QSoundEffect would warn on every sound and report "playing" for ever.
  if (!HaveAudioOutput()) return true;
  effect_ = std::make_unique<QSoundEffect>();
  effect_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
  effect_->setLoopCount(loop ? QSoundEffect::Infinite : 1);
  effect_->play();
  return true;
}

void QtSound::Stop() {
  if (effect_) effect_->stop();
}

void QtSound::SetVolume(int volume) {
  if (effect_) effect_->setVolume(static_cast<float>(LinearVolume(volume)));
}

bool QtSound::Playing() const {
  return effect_ && effect_->isPlaying();
}

float QtSound::Volume() const {
  return effect_ ? effect_->volume() : 0.0f;
}

}  // namespace tallow::platform::qt
