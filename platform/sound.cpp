#include "platform/sound.h"

#include <QFileInfo>
#include <cstdio>
#include <utility>

#include "platform/module.h"

QStringList soundModulePaths() { return modulePaths(SCORVEX_SOUND_MODULE); }

SoundLoader::SoundLoader(QStringList modulePaths) : modulePaths_(std::move(modulePaths)) {}

void SoundLoader::play(const QString& fileName, bool loop) {
  // A missing file plays nothing: the sound system is not loaded for it.
  if (!QFileInfo(fileName).isFile()) return;
  if (!player_ && !failed_) load();
  if (player_) player_->play(fileName, loop);
}

void SoundLoader::stopAll() {
  if (player_) player_->stopAll();
}

void SoundLoader::load() {
  QString reason;
  auto create =
      reinterpret_cast<SoundFactory>(loadModule(module_, modulePaths_, kSoundFactoryName, reason));
  if (!create) {
    failed_ = true;
    std::fprintf(stderr, "Scorvex: Ton nicht verfügbar: %s.\n", qPrintable(reason));
    return;
  }
  player_.reset(create());
}
