#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// The registry's export text format ("Windows Registry Editor Version 5.00"), the settings file
// on systems without a registry. A section names a key, each line below it one value:
//
//   [HKEY_CURRENT_USER\Software\Merrowtide\Scorvex]
//   "Title"="Halle \"Nord\" C:\\Bilder"      text, with \\ and \" escaped
//   "Time"=dword:00000a8c                    32-bit integer, eight hex digits
//
// Map keys are the section and the value name joined by '/', so a key's values form one
// group ("HKEY_CURRENT_USER/Software/Merrowtide/Scorvex/Time"). Texts are QString,
// integers qint32. A value of any other kind ("hex:", "hex(7):" ...) is kept as its raw text
// in a QByteArray, so it reads as neither text nor integer and is written back unchanged (but
// for a backslash after a final comma, which would join the next line to it);
// "hex(2):" (expandable text) reads as text. Lines that cannot be parsed are skipped: a
// damaged file yields what is readable, and the next write leaves a clean file. Lines ending in
// ",\" continue on the next line. What read returns, write gives back so that read returns the
// same again.
namespace regfile {

using Values = QMap<QString, QVariant>;

Values read(QByteArrayView bytes);
QByteArray write(const Values& map);

}  // namespace regfile
