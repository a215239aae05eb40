#include "platform/os/runlistfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace RunListFile {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes pass through.
constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeFallback(QByteArrayView bytes) {
#ifdef Q_OS_WIN
  return QStringDecoder(QStringConverter::System).decode(bytes);
#else
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = QChar(b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80] : char16_t(b));
  }
  return text;
#endif
}

// Cuts a line to the entry length without splitting a surrogate pair.
QString capped(QStringView line) {
  if (line.size() <= maxEntryLength) return line.toString();
  qsizetype n = maxEntryLength;
  if (line.at(n - 1).isHighSurrogate()) --n;
  return line.first(n).toString();
}

// Counts the lines of a text handed over in pieces: CR, LF and CR LF each end one line, and
// text after the last line end is one more.
class LineCounter {
 public:
  explicit LineCounter(bool afterCr) : afterCr_(afterCr) {}
  void add(QByteArrayView bytes) {
    for (const char c : bytes) {
      if (c == '\n' && afterCr_) {
        afterCr_ = false;
        continue;
      }
      afterCr_ = c == '\r';
      if (c == '\n' || c == '\r') ++lines_;
      open_ = c != '\n' && c != '\r';
    }
  }
  qint64 lines() const { return lines_ + (open_ ? 1 : 0); }

 private:
  bool afterCr_;
  bool open_ = false;
  qint64 lines_ = 0;
};

}  // namespace

QString decode(QByteArrayView bytes) {
  QStringDecoder utf8(QStringConverter::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) return decodeFallback(bytes);
  // The decoder drops one byte-order mark. Further ones are no text either: kept, the first
  // would lead the saved file and be dropped as its mark, so a save would change the list.
  qsizetype marks = 0;
  while (marks < text.size() && text.at(marks) == QChar::ByteOrderMark) ++marks;
  return text.remove(0, marks);
}

QStringList parse(QByteArrayView bytes, Shortfall* shortfall) {
  const qsizetype nul = bytes.indexOf('\0');
  if (nul >= 0) bytes = bytes.first(nul);
  const QString text = decode(bytes);
  QStringList entries;
  qsizetype start = 0;
  const qsizetype size = text.size();
  while (start < size && entries.size() < maxEntries) {
    qsizetype end = start;
    while (end < size && text.at(end) != u'\r' && text.at(end) != u'\n') ++end;
    entries.append(capped(QStringView(text).sliced(start, end - start)));
    if (shortfall && end - start > entries.last().size()) ++shortfall->linesCut;
    if (end < size && text.at(end) == u'\r' && end + 1 < size && text.at(end + 1) == u'\n') ++end;
    start = end + 1;
  }
  if (shortfall && start < size) {
    LineCounter rest(false);
    rest.add(QStringView(text).sliced(start).toUtf8());
    shortfall->linesNotLoaded += rest.lines();
  }
  return entries;
}

QByteArray format(const QStringList& entries) {
  QString text;
  qsizetype length = 0;
  for (const QString& e : entries) length += e.size() + 2;
  text.reserve(length);
  for (const QString& e : entries) {
    text += e;
    text += u"\r\n";
  }
  return QStringEncoder(QStringConverter::System).encode(text);
}

bool read(const QString& path, QStringList& entries, QString* error, Shortfall* shortfall,
          qint64 byteLimit) {
  // A pipe or device under the list's name would block the console on opening it.
  const QFileInfo info(path);
  if (info.exists() && !info.isFile()) {
    if (error) *error = QCoreApplication::translate("RunListFile", "Not a regular file");
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  QByteArray bytes = file.read(byteLimit);
  if (bytes.isNull() && file.error() != QFileDevice::NoError) {
    if (error) *error = file.errorString();
    return false;
  }
  Shortfall found;
  // A file cut at the cap loses its incomplete last line rather than keeping half a character;
  // the lines after the cut are counted, as far as maxCountedBytes reach.
  if (!file.atEnd()) {
    const qsizetype lastEnd = qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    LineCounter rest(lastEnd >= 0 && bytes.at(lastEnd) == '\r');
    rest.add(QByteArrayView(bytes).sliced(lastEnd + 1));
    bytes.truncate(lastEnd + 1);
    for (qint64 counted = 0; !file.atEnd() && counted < maxCountedBytes;) {
      const QByteArray chunk = file.read(1 << 20);
      if (chunk.isEmpty()) break;
      rest.add(chunk);
      counted += chunk.size();
    }
    found.linesNotLoaded = rest.lines();
    found.moreNotLoaded = !file.atEnd();
  }
  entries = parse(bytes, &found);
  if (shortfall) *shortfall = found;
  return true;
}

bool write(const QString& path, const QStringList& entries, QString* error) {
  const QByteArray bytes = format(entries);
  QSaveFile file(path);
  // Unbuffered, so a failing write (disk full) is seen here: QSaveFile misses a failure of its
  // own buffered flush and would commit a truncated file. Without commit the old file stays.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
      file.write(bytes) != bytes.size() || !file.commit()) {
    if (error) *error = file.errorString();
    return false;
  }
  return true;
}

}  // namespace RunListFile
