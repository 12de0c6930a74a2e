#include "platform/qt/qt_sound.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>

namespace tallow::platform::qt {

double LinearVolume(int volume) {
  if (volume >= 0) return 1.0;
  if (volume <= -10000) return 0.0;
  return std::pow(10.0, volume / 2000.0);  // hundredths of a dB -> amplitude
}

bool QtSound::Play(const std::string& path, bool loop) {
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile()) return false;
  effect_.stop();
  effect_.setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
  effect_.setLoopCount(loop ? QSoundEffect::Infinite : 1);
  effect_.play();
  return true;
}

void QtSound::Stop() {
  effect_.stop();
}

void QtSound::SetVolume(int volume) {
  effect_.setVolume(static_cast<float>(LinearVolume(volume)));
}

}  // namespace tallow::platform::qt
