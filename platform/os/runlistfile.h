#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The running-text list file: one entry per line, in the locale's 8-bit encoding.
// Reading accepts CR, LF and CR LF line ends, keeps a last line without a line end, adds no
// empty entry for a final line end and stops at a NUL byte. A file that is not valid UTF-8 is
// taken as Windows-1252 (on Windows: the ANSI code page). Writing ends every entry with CR LF
// and replaces the file in one step, so a failed save leaves the old file as it was.
//
// A foreign or damaged file must not flood the console, so reading is capped: only the first
// maxBytes of a file are read (cut back to the last complete line), at most maxEntries entries
// are kept, and longer lines are cut to maxEntryLength characters. What the caps leave out is
// counted, so that the console can say so and refuse to save a list that would lose it.
namespace RunListFile {

constexpr qint64 maxBytes = 16 * 1024 * 1024;
constexpr int maxEntries = 200000;
constexpr int maxEntryLength = 1000;
// Lines beyond maxBytes are counted in at most this much more of the file.
constexpr qint64 maxCountedBytes = qint64(256) << 20;

inline constexpr char defaultName[] = "Lauftext.txt";

// What a read left out.
struct Shortfall {
  qint64 linesNotLoaded = 0;
  bool moreNotLoaded = false;  // the file goes on beyond what was counted
  qint64 linesCut = 0;         // entries cut to maxEntryLength
  bool none() const { return linesNotLoaded == 0 && !moreNotLoaded && linesCut == 0; }
};

// The text of the bytes: UTF-8 when valid, otherwise the 8-bit fallback code page.
QString decode(QByteArrayView bytes);
QStringList parse(QByteArrayView bytes, Shortfall* shortfall = nullptr);
QByteArray format(const QStringList& entries);

// On failure `error` receives the system's text for it and `entries` is left alone. A list
// with a smaller purpose may read fewer bytes than maxBytes.
bool read(const QString& path, QStringList& entries, QString* error = nullptr,
          Shortfall* shortfall = nullptr, qint64 byteLimit = maxBytes);
bool write(const QString& path, const QStringList& entries, QString* error = nullptr);

}  // namespace RunListFile
