// The module scorvex-sound: the sound player on Qt Multimedia (see SoundLoader).
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QtEndian>

#include "platform/sound.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(SoundModule)
};

constexpr int kWaveHeaderBytes = 44;
// Silence after a wave: the sink is stopped when its buffer runs dry, which must cut nothing
// that the sound system still holds.
constexpr int kWaveTailMs = 250;

// The loader has found the file and opened it before: a resource error here means its content
// is not a sound the decoder knows.
QString failureReason(QMediaPlayer::Error error) {
  switch (error) {
    case QMediaPlayer::ResourceError:
      return Words::tr("kein bekanntes Tonformat");
    case QMediaPlayer::FormatError:
      return Words::tr("Format nicht unterstützt");
    case QMediaPlayer::AccessDeniedError:
      return Words::tr("Zugriff verweigert");
    default:
      return Words::tr("Wiedergabefehler");
  }
}

class QtSoundPlayer final : public QObject, public SoundPlayer {
 public:
  ~QtSoundPlayer() override { stopAll(); }

  void setFailure(Failure failure) override { failure_ = std::move(failure); }
  void play(const QString& fileName, bool loop) override;
  void playWave(const QByteArray& wave) override;
  void stopAll() override {
    if (player_) player_->stop();
    stopWave();
  }

 private:
  void ensurePlayer();
  void stopWave();

  Failure failure_;
  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
  QString source_;     // the file the player was last given
  bool told_ = false;  // its failure was told
  QAudioSink* sink_ = nullptr;
  QBuffer* samples_ = nullptr;
};

// The player is made on first use: a machine without sound never initialises the media back
// end at all.
void QtSoundPlayer::ensurePlayer() {
  if (player_) return;
  player_ = new QMediaPlayer(this);
  output_ = new QAudioOutput(this);
  player_->setAudioOutput(output_);
  connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
    if (error == QMediaPlayer::NoError || told_) return;
    told_ = true;
    if (failure_) failure_(source_, failureReason(error));
  });
}

void QtSoundPlayer::play(const QString& fileName, bool loop) {
  if (QMediaDevices::audioOutputs().isEmpty()) return;
  ensurePlayer();
  player_->stop();
  source_ = fileName;
  told_ = false;
  player_->setLoops(loop ? QMediaPlayer::Infinite : 1);
  player_->setSource(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
  player_->play();
}

// The wave is the program's own PCM WAV (see hornWave): its format is read from the fixed
// header and its samples go straight to an audio sink, without a decoder.
void QtSoundPlayer::playWave(const QByteArray& wave) {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull() || wave.size() < kWaveHeaderBytes) return;
  stopWave();
  const auto field = [&wave](int at, auto type) {
    return qFromLittleEndian<decltype(type)>(wave.constData() + at);
  };
  QAudioFormat format;
  format.setChannelCount(field(22, quint16()));
  format.setSampleRate(int(field(24, quint32())));
  format.setSampleFormat(field(34, quint16()) == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
  QByteArray pcm = wave.mid(kWaveHeaderBytes);
  pcm.append(QByteArray(format.bytesForDuration(kWaveTailMs * 1000), '\0'));
  samples_ = new QBuffer(this);
  samples_->setData(pcm);
  samples_->open(QIODevice::ReadOnly);
  sink_ = new QAudioSink(device, format, this);
  connect(sink_, &QAudioSink::stateChanged, this, [this, sink = sink_](QAudio::State state) {
    if (state == QAudio::IdleState && sink == sink_) stopWave();
  });
  sink_->start(samples_);
}

void QtSoundPlayer::stopWave() {
  if (!sink_) return;
  sink_->stop();
  sink_->deleteLater();
  samples_->deleteLater();
  sink_ = nullptr;
  samples_ = nullptr;
}

}  // namespace

extern "C" Q_DECL_EXPORT SoundPlayer* createSound() { return new QtSoundPlayer; }
