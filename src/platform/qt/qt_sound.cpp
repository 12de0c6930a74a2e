#include "platform/qt/qt_sound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>

namespace tallow::platform::qt {
namespace {

// About a second of sound waits on the output; it is topped up four times a second, so a pause
// of the user-interface thread (the client's blocking waits last up to a second) rarely
// starves it.
constexpr int kQueuedMs = 1000;
constexpr int kFeedMs = 250;
// Larger files are no table sounds.
constexpr qint64 kMaxFileBytes = 64 << 20;

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

quint32 LittleEndian(const QByteArray& b, qsizetype at, int bytes) {
  quint32 v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<quint8>(b[at + i]);
  return v;
}

}  // namespace

double LinearVolume(int volume) {
  if (volume >= 0) return 1.0;
  if (volume <= -10000) return 0.0;
  return std::pow(10.0, volume / 2000.0);  // hundredths of a dB -> amplitude
}

std::optional<PcmSound> ReadPcmWav(const QByteArray& b) {
  if (b.size() < 12 || std::memcmp(b.constData(), "RIFF", 4) != 0 ||
      std::memcmp(b.constData() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  PcmSound sound;
  bool haveFormat = false;
  for (qsizetype at = 12; at + 8 <= b.size();) {
    const qsizetype size = LittleEndian(b, at + 4, 4);
    const qsizetype body = at + 8;
    const qsizetype inFile = std::min(size, b.size() - body);  // a data chunk may be cut short
    if (std::memcmp(b.constData() + at, "fmt ", 4) == 0) {
      if (inFile < 16 || LittleEndian(b, body, 2) != 1) return std::nullopt;  // PCM only
      const int channels = static_cast<int>(LittleEndian(b, body + 2, 2));
      const int rate = static_cast<int>(LittleEndian(b, body + 4, 4));
      const int bits = static_cast<int>(LittleEndian(b, body + 14, 2));
      if (channels < 1 || channels > 2 || rate < 1000 || rate > 192000) return std::nullopt;
      if (bits != 8 && bits != 16) return std::nullopt;
      sound.format.setSampleRate(rate);
      sound.format.setChannelCount(channels);
      sound.format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
      haveFormat = true;
    } else if (std::memcmp(b.constData() + at, "data", 4) == 0 && haveFormat) {
      const qsizetype frame = sound.format.bytesPerFrame();
      sound.samples = b.mid(body, inFile - inFile % frame);
      if (sound.samples.isEmpty()) return std::nullopt;
      return sound;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

QtSound::QtSound() {
  static std::once_flag installed;
  std::call_once(installed,
                 [] { previousHandler = qInstallMessageHandler(DropNoSoundServerWarnings); });
  feed_.setInterval(kFeedMs);
  QObject::connect(&feed_, &QTimer::timeout, [this] { Feed(); });
}

QtSound::~QtSound() {
  Drop();
}

bool QtSound::Open() {
  return HaveAudioOutput();
}

void QtSound::Drop() {
  feed_.stop();
  if (sink_) sink_->stop();
  sink_.reset();
  output_ = nullptr;
}

bool QtSound::Play(const std::string& path, bool loop) {
  Drop();
  current_.clear();
  QFile file(QString::fromStdString(path));
  if (!QFileInfo(file).isFile()) return false;
  current_ = path;
  // Without an output a sink would warn on every sound and never play.
  if (!HaveAudioOutput()) return true;
  std::optional<PcmSound> pcm;
  if (file.size() <= kMaxFileBytes && file.open(QIODevice::ReadOnly))
    pcm = ReadPcmWav(file.readAll());
  if (!pcm) {
    current_.clear();
    return false;
  }
  sound_ = std::move(*pcm);
  next_ = 0;
  queued_ = false;
  loop_ = loop;
  sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), sound_.format);
  sink_->setBufferSize(sound_.format.bytesForDuration(qint64{kQueuedMs} * 1000));
  output_ = sink_->start();
  if (output_ == nullptr) {
    sink_.reset();
    return true;  // the output refused the stream: silent, as without an output
  }
  Feed();
  return true;
}

void QtSound::Feed() {
  if (!sink_ || output_ == nullptr || sink_->state() == QAudio::StoppedState) {
    feed_.stop();
    return;
  }
  qsizetype room = sink_->bytesFree();
  while (room > 0 && !queued_) {
    if (next_ >= sound_.samples.size()) {
      if (!loop_) {
        // The output starts only once its buffer is full: silence fills up what a short sound
        // leaves free.
        const qsizetype frame = sound_.format.bytesPerFrame();
        const qsizetype pad = room - room % frame;
        const char silence = sound_.format.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0';
        if (pad > 0) output_->write(QByteArray(pad, silence));
        queued_ = true;
        break;
      }
      next_ = 0;
    }
    const qsizetype n = std::min(room, sound_.samples.size() - next_);
    const qint64 written = output_->write(sound_.samples.constData() + next_, n);
    if (written <= 0) break;
    next_ += written;
    room -= written;
  }
  if (queued_) {
    feed_.stop();
  } else if (!feed_.isActive()) {
    feed_.start();
  }
}

void QtSound::Stop() {
  Drop();
  next_ = 0;
}

void QtSound::SetVolume(int volume) {
  if (sink_) sink_->setVolume(LinearVolume(volume));
}

bool QtSound::Playing() const {
  if (!sink_) return false;
  const QAudio::State state = sink_->state();
  return state == QAudio::ActiveState || (state == QAudio::IdleState && !queued_);
}

float QtSound::Volume() const {
  return sink_ ? static_cast<float>(sink_->volume()) : 0.0f;
}

}  // namespace tallow::platform::qt
