#include "platform/sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QtEndian>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/module.h"
#include "platform/programfolder.h"

namespace {

struct Words {
  Q_DECLARE_TR_FUNCTIONS(Sound)
};

Q_LOGGING_CATEGORY(lcSound, "scorvex.sound")

constexpr char kEndSignalName[] = "Ton-ende.wav";

constexpr int kHornRate = 44100;
constexpr int kHornAttackMs = 25;
constexpr int kHornReleaseMs = 90;
// The two voices (F4 and A4) and the weight of each voice's harmonics 1 to 6.
constexpr double kHornVoices[] = {349.23, 440.0};
constexpr double kHornHarmonics[] = {1.0, 0.7, 0.5, 0.35, 0.25, 0.15};
constexpr double kHornDrive = 2.5;  // how hard the sum is pushed into the soft clip
constexpr double kHornPeak = 0.9;   // of full scale

template <typename T>
void append(QByteArray& bytes, T value) {
  const T little = qToLittleEndian(value);
  bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// 0 → 1 over the attack, 1 → 0 over the release, each as half a cosine; 1 between.
double hornEnvelope(int sample, int samples) {
  const double attack = kHornRate * kHornAttackMs / 1000.0;
  const double release = kHornRate * kHornReleaseMs / 1000.0;
  const double fromEnd = samples - 1 - sample;
  const double rise = sample < attack ? sample / attack : 1.0;
  const double fall = fromEnd < release ? fromEnd / release : 1.0;
  return (1 - std::cos(std::numbers::pi * std::min(rise, fall))) / 2;
}

// The chime's two notes (E6, then C6 a third of the way in), each dying away like a bell.
constexpr double kChimeNotes[] = {1318.5, 1046.5};
constexpr double kChimeDecayS = 0.12;
constexpr double kChimePeak = 0.6;

QByteArray waveHeader(qint64 samples) {
  const quint32 dataBytes = quint32(samples * 2);
  QByteArray wave;
  wave.reserve(44 + dataBytes);
  wave.append("RIFF");
  append<quint32>(wave, 36 + dataBytes);
  wave.append("WAVEfmt ");
  append<quint32>(wave, 16);  // format chunk size
  append<quint16>(wave, 1);   // PCM
  append<quint16>(wave, 1);   // mono
  append<quint32>(wave, kHornRate);
  append<quint32>(wave, kHornRate * 2);  // bytes per second
  append<quint16>(wave, 2);              // bytes per sample frame
  append<quint16>(wave, 16);             // bits per sample
  wave.append("data");
  append<quint32>(wave, dataBytes);
  return wave;
}

QString fileProblem(const QString& fileName) {
  const QFileInfo file(fileName);
  if (!file.exists()) return Words::tr("Datei fehlt");
  if (!file.isFile()) return Words::tr("keine Datei");
  if (QFile readable(fileName); !readable.open(QIODevice::ReadOnly))
    return Words::tr("Datei nicht lesbar");
  if (file.size() == 0) return Words::tr("Datei ist leer");
  return {};
}

}  // namespace

QByteArray hornWave(int milliseconds) {
  const qint64 samples = qint64(std::max(milliseconds, 0)) * kHornRate / 1000;
  QByteArray wave = waveHeader(samples);

  double weights = 0;
  for (double h : kHornHarmonics) weights += h;
  weights *= std::size(kHornVoices);
  const double clipScale = kHornPeak / std::tanh(kHornDrive);
  for (qint64 i = 0; i < samples; ++i) {
    const double t = double(i) / kHornRate;
    double sum = 0;
    for (double voice : kHornVoices) {
      // sin and cos of each harmonic from those of the one below: two calls per voice, not six.
      const double angle = 2 * std::numbers::pi * std::fmod(voice * t, 1.0);
      const double s1 = std::sin(angle), c1 = std::cos(angle);
      double sk = s1, ck = c1;
      for (double weight : kHornHarmonics) {
        sum += weight * sk;
        const double next = sk * c1 + ck * s1;
        ck = ck * c1 - sk * s1;
        sk = next;
      }
    }
    const double value = clipScale * std::tanh(kHornDrive * sum / weights);
    append<qint16>(wave, qint16(std::lround(32767 * value * hornEnvelope(int(i), int(samples)))));
  }
  return wave;
}

QByteArray chimeWave() {
  const qint64 samples = qint64(kChimeMs) * kHornRate / 1000;
  QByteArray wave = waveHeader(samples);
  const double secondAt = kChimeMs / 3000.0;
  for (qint64 i = 0; i < samples; ++i) {
    const double t = double(i) / kHornRate;
    double value = 0;
    for (int n = 0; n < 2; ++n) {
      const double since = t - n * secondAt;
      if (since >= 0)
        value += std::exp(-since / kChimeDecayS) *
                 std::sin(2 * std::numbers::pi * kChimeNotes[n] * since);
    }
    value *= kChimePeak / 2 * hornEnvelope(int(i), int(samples));
    append<qint16>(wave, qint16(std::lround(32767 * value)));
  }
  return wave;
}

QString endSignalFile() {
  for (const QString& path : {QString(kEndSignalName), programFolder() + "/" + kEndSignalName})
    if (QFileInfo(path).isFile()) return path;
  return {};
}

void playEndSignal(SoundService& sound) {
  const QString file = endSignalFile();
  if (file.isEmpty())
    sound.playHorn(kHornEndMs);
  else
    sound.play(file, false);
}

QStringList soundModulePaths() { return modulePaths(SCORVEX_SOUND_MODULE); }

SoundLoader::SoundLoader(QStringList modulePaths) : modulePaths_(std::move(modulePaths)) {}

SoundLoader::SoundLoader(std::unique_ptr<SoundPlayer> player)
    : player_(std::move(player)), native_(false) {
  player_->setFailure([this](const QString& file, const QString& reason) { failed(file, reason); });
}

void SoundLoader::play(const QString& fileName, bool loop) {
  playFile(fileName, loop, StandIn::horn);
}

void SoundLoader::playWarning(const QString& fileName, bool loop) {
  playFile(fileName, loop, StandIn::chime);
}

void SoundLoader::checkWarning(const QString& fileName) {
  if (const QString problem = fileProblem(fileName); !problem.isEmpty())
    tell(fileName, problem, StandIn::chime);
}

void SoundLoader::playFile(const QString& fileName, bool loop, StandIn standIn) {
  if (muted_) return;
  standIns_[QFileInfo(fileName).absoluteFilePath()] = standIn;
  // What can be seen before playing is told at once; what the decoder finds comes back later.
  if (const QString problem = fileProblem(fileName); !problem.isEmpty())
    return failed(fileName, problem);
  if (SoundPlayer* p = player()) p->play(fileName, loop);
}

void SoundLoader::playHorn(int milliseconds) {
  if (muted_ || milliseconds <= 0) return;
  QByteArray& wave = horns_[milliseconds];
  if (wave.isEmpty()) wave = hornWave(milliseconds);
  playWaveData(wave);
}

void SoundLoader::playWaveData(const QByteArray& wave) {
  if (native_ && playWaveNatively(wave)) return;
  if (SoundPlayer* p = player()) p->playWave(wave);
}

void SoundLoader::stopAll() {
  if (native_) stopNativeWave();
  if (player_) player_->stopAll();
}

void SoundLoader::setMuted(bool muted) {
  muted_ = muted;
  if (muted) stopAll();
}

void SoundLoader::failed(const QString& fileName, const QString& reason) {
  const StandIn standIn = standIns_.value(QFileInfo(fileName).absoluteFilePath(), StandIn::horn);
  tell(fileName, reason, standIn);
  if (standIn == StandIn::horn) return playHorn(kHornEndMs);
  if (muted_) return;
  if (chime_.isEmpty()) chime_ = chimeWave();
  playWaveData(chime_);
}

void SoundLoader::tell(const QString& fileName, const QString& reason, StandIn standIn) {
  const QString key = QFileInfo(fileName).absoluteFilePath();
  if (reported_.contains(key)) return;
  reported_.insert(key);
  if (!report_) return;
  const QString file = QDir::toNativeSeparators(fileName);
  report_(standIn == StandIn::horn
              ? Words::tr("Ton '%1' nicht abspielbar: %2 — es ertönt die eingebaute Hupe")
                    .arg(file, reason)
              : Words::tr("Warnton '%1' nicht abspielbar: %2 — es ertönt ein kurzer Gong statt "
                          "der Hupe")
                    .arg(file, reason));
}

SoundPlayer* SoundLoader::player() {
  if (player_ || failed_) return player_.get();
  QString reason;
  auto create =
      reinterpret_cast<SoundFactory>(loadModule(module_, modulePaths_, kSoundFactoryName, reason));
  if (!create) {
    failed_ = true;
    qCWarning(lcSound, "Ton nicht verfügbar: %s.", qPrintable(reason));
    return nullptr;
  }
  player_.reset(create());
  player_->setFailure([this](const QString& file, const QString& reason) { failed(file, reason); });
  return player_.get();
}
