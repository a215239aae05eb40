#include "platform/sound.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

#include "support/fakes.h"

namespace {

template <typename T>
T field(const QByteArray& wave, int at) {
  return qFromLittleEndian<T>(wave.constData() + at);
}

qint16 sample(const QByteArray& wave, int i) { return field<qint16>(wave, 44 + 2 * i); }

TEST(Horn, IsAMono16BitWaveOfTheAskedLengthLoudButNotClippedAndWithoutClicks) {
  const struct {
    int ms, samples;
  } rows[] = {{kHornEndMs, 66150}, {kHornShortMs, 35280}, {1, 44}, {0, 0}, {-20, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.ms);
    const QByteArray wave = hornWave(row.ms);
    ASSERT_EQ(wave.size(), 44 + 2 * row.samples);
    EXPECT_EQ(wave.left(4), "RIFF");
    EXPECT_EQ(field<quint32>(wave, 4), quint32(wave.size() - 8));
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(field<quint16>(wave, 20), 1);  // PCM
    EXPECT_EQ(field<quint16>(wave, 22), 1);  // mono
    EXPECT_EQ(field<quint32>(wave, 24), 44100u);
    EXPECT_EQ(field<quint16>(wave, 34), 16);
    EXPECT_EQ(wave.mid(36, 4), "data");
    EXPECT_EQ(field<quint32>(wave, 40), quint32(2 * row.samples));
    if (row.samples < 10'000) continue;

    int peak = 0;
    double power = 0;
    for (int i = 0; i < row.samples; ++i) {
      peak = std::max(peak, std::abs(int(sample(wave, i))));
      power += double(sample(wave, i)) * sample(wave, i);
    }
    EXPECT_GT(peak, 0.85 * 32767);
    EXPECT_LT(peak, 0.91 * 32767);
    EXPECT_GT(std::sqrt(power / row.samples), 0.3 * 32767);  // a hall hears it
    EXPECT_EQ(sample(wave, 0), 0);
    EXPECT_LT(std::abs(sample(wave, row.samples - 1)), 100);
  }
}

// A sound loader over the fake player, with every line it reports.
struct Loader {
  Loader() {
    auto owned = std::make_unique<FakeSoundPlayer>();
    player = owned.get();
    sound = std::make_unique<SoundLoader>(std::move(owned));
    sound->setReport([this](const QString& line) { lines.append(line); });
  }
  FakeSoundPlayer* player;
  std::unique_ptr<SoundLoader> sound;
  QStringList lines;
};

TEST(SoundLoader, AFileThatCannotPlayIsToldOnceAndTheHornSoundsEveryTime) {
  QTemporaryDir temp;
  QFile empty(temp.filePath("leer.wav")), locked(temp.filePath("gesperrt.wav"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly) && locked.open(QIODevice::WriteOnly));
  locked.write("RIFF");
  locked.close();
  locked.setPermissions(QFile::WriteOwner);
  const bool rootReadsAnyway = locked.open(QIODevice::ReadOnly);
  const QByteArray horn = hornWave(kHornEndMs);

  const struct {
    QString file, reason;
  } rows[] = {
      {temp.filePath("fehlt.wav"), "Datei fehlt"},
      {temp.path(), "keine Datei"},
      {empty.fileName(), "Datei ist leer"},
      {locked.fileName(), "Datei nicht lesbar"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reason.toStdString());
    if (row.reason == "Datei nicht lesbar" && rootReadsAnyway) continue;
    Loader loader;
    loader.sound->play(row.file, true);
    loader.sound->play(row.file, true);
    EXPECT_EQ(loader.lines,
              QStringList({QString("Ton '%1' nicht abspielbar: %2 — es ertönt die "
                                   "eingebaute Hupe")
                               .arg(QDir::toNativeSeparators(row.file), row.reason)}));
    EXPECT_TRUE(loader.player->played.isEmpty());
    EXPECT_EQ(loader.player->waves, QList<QByteArray>({horn, horn}));
  }
}

TEST(SoundLoader, WhatTheDecoderRejectsLaterIsToldOnceAndHonked) {
  QTemporaryDir temp;
  QFile text(temp.filePath("kaputt.wav"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("kein Ton");
  text.close();
  Loader loader;
  loader.sound->play(text.fileName(), false);
  ASSERT_EQ(loader.player->played.size(), 1);
  EXPECT_EQ(loader.player->played[0].file, text.fileName());
  EXPECT_TRUE(loader.lines.isEmpty());
  EXPECT_TRUE(loader.player->waves.isEmpty());

  loader.player->fail(text.fileName(), "Format nicht unterstützt");
  loader.player->fail(text.fileName(), "Format nicht unterstützt");
  ASSERT_EQ(loader.lines.size(), 1);
  EXPECT_TRUE(loader.lines[0].endsWith(
      "kaputt.wav' nicht abspielbar: Format nicht unterstützt — es ertönt die eingebaute Hupe"));
  EXPECT_EQ(loader.player->waves.size(), 2);
}

TEST(SoundLoader, MutedNothingPlaysAndMutingStopsWhatPlays) {
  QTemporaryDir temp;
  QFile wav(temp.filePath("ton.wav"));
  ASSERT_TRUE(wav.open(QIODevice::WriteOnly));
  wav.write(hornWave(10));
  wav.close();
  Loader loader;
  loader.sound->play(wav.fileName(), true);
  loader.sound->setMuted(true);
  EXPECT_TRUE(loader.sound->muted());
  EXPECT_EQ(loader.player->stops, 1);

  loader.sound->play(wav.fileName(), false);
  loader.sound->playHorn(kHornManualMs);
  loader.sound->play(temp.filePath("fehlt.wav"), false);
  loader.player->fail(wav.fileName(), "Format nicht unterstützt");
  EXPECT_EQ(loader.player->played.size(), 1);
  EXPECT_TRUE(loader.player->waves.isEmpty());

  loader.sound->setMuted(false);
  loader.sound->playHorn(kHornManualMs);
  EXPECT_EQ(loader.player->waves, QList<QByteArray>({hornWave(kHornManualMs)}));
}

}  // namespace

// The warning's file that cannot play is told when it is checked (chosen, or at start), and
// when due gives the short chime, never the horn.
TEST(SoundLoader, AWarningThatCannotPlayIsToldAtTheCheckAndChimes) {
  QTemporaryDir temp;
  const QString missing = temp.filePath("warnung.wav");
  Loader loader;
  loader.sound->checkWarning(missing);
  EXPECT_EQ(loader.lines, QStringList{QString("Warnton '%1' nicht abspielbar: Datei fehlt — es "
                                              "ertönt ein kurzer Gong statt der Hupe")
                                          .arg(QDir::toNativeSeparators(missing))});
  EXPECT_TRUE(loader.player->waves.isEmpty());
  loader.sound->playWarning(missing, true);
  EXPECT_EQ(loader.lines.size(), 1);
  EXPECT_EQ(loader.player->waves, QList<QByteArray>{chimeWave()});
}
