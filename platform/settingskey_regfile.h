#pragma once

#include <QSettings>

// The registry's export text format ("Windows Registry Editor Version 5.00") as a QSettings
// format, for systems without a registry. A section names a key, each line below it one value:
//
//   [HKEY_CURRENT_USER\Software\Merrowtide\Scorvex]
//   "Title"="Halle \"Nord\" C:\\Bilder"      text, with \\ and \" escaped
//   "Time"=dword:00000a8c                    32-bit integer, eight hex digits
//
// Map keys are the section and the value name joined by '/', so a key's values form one
// QSettings group ("HKEY_CURRENT_USER/Software/Merrowtide/Scorvex/Time"). Texts are QString,
// integers qint32. A value of any other kind ("hex:", "hex(7):" ...) is kept as its raw text
// in a QByteArray, so it reads as neither text nor integer and is written back unchanged;
// "hex(2):" (expandable text) reads as text. Lines that cannot be parsed are skipped: a
// damaged file yields what is readable, and the next write leaves a clean file.
namespace regfile {

bool read(QIODevice& device, QSettings::SettingsMap& map);
bool write(QIODevice& device, const QSettings::SettingsMap& map);

// The format registered with QSettings (once per process), for files ending in ".reg".
QSettings::Format format();

}  // namespace regfile
