#include "platform/qt/qt_sound.h"

#include <sndfile.h>

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
// Larger files are no table sounds; a decoded sound keeps to the same bound.
constexpr qint64 kMaxFileBytes = 64 << 20;
constexpr qint64 kMaxSoundBytes = 256 << 20;

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

// libsndfile reads the sound from the bytes in memory through this cursor.
struct MemoryFile {
  const QByteArray* bytes;
  sf_count_t at = 0;
};

sf_count_t MemoryLength(void* user) {
  return static_cast<MemoryFile*>(user)->bytes->size();
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? f->bytes->size() : 0;
  f->at = std::clamp<sf_count_t>(base + offset, 0, f->bytes->size());
  return f->at;
}

sf_count_t MemoryRead(void* to, sf_count_t count, void* user) {
  auto* f = static_cast<MemoryFile*>(user);
  const sf_count_t n = std::clamp<sf_count_t>(f->bytes->size() - f->at, 0, count);
  std::memcpy(to, f->bytes->constData() + f->at, static_cast<std::size_t>(n));
  f->at += n;
  return n;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*) {
  return 0;
}

sf_count_t MemoryTell(void* user) {
  return static_cast<MemoryFile*>(user)->at;
}

}  // namespace

double LinearVolume(int volume) {
  if (volume >= 0) return 1.0;
  if (volume <= -10000) return 0.0;
  return std::pow(10.0, volume / 2000.0);  // hundredths of a dB -> amplitude
}

std::optional<PcmSound> DecodeSound(const QByteArray& file) {
  SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
  MemoryFile source{&file};
  SF_INFO info{};
  const std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> decoder(
      sf_open_virtual(&io, SFM_READ, &info, &source), sf_close);
  if (!decoder) return std::nullopt;
  if (info.channels < 1 || info.channels > 2 || info.samplerate < 1000 ||
      info.samplerate > 192000) {
    return std::nullopt;
  }
  // Every sample becomes 16-bit, whatever the file holds; a declared length beyond the bytes
  // that follow yields the whole frames that are there.
  PcmSound sound;
  sound.format.setSampleRate(info.samplerate);
  sound.format.setChannelCount(info.channels);
  sound.format.setSampleFormat(QAudioFormat::Int16);
  const sf_count_t frameBytes = sound.format.bytesPerFrame();
  const sf_count_t maxFrames = kMaxSoundBytes / frameBytes;
  const sf_count_t frames = std::clamp<sf_count_t>(info.frames, 0, maxFrames);
  sound.samples.resize(static_cast<qsizetype>(frames * frameBytes));
  const sf_count_t got =
      sf_readf_short(decoder.get(), reinterpret_cast<short*>(sound.samples.data()), frames);
  if (got <= 0) return std::nullopt;
  sound.samples.truncate(static_cast<qsizetype>(got * frameBytes));
  return sound;
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
    pcm = DecodeSound(file.readAll());
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
        if (pad > 0) output_->write(QByteArray(pad, '\0'));  // 16-bit silence
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
