#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// The one way the program reads pictures: JPEG (libjpeg), the first image of a GIF (giflib) and
// BMP (Qt). The format is recognised by the file's content, not its name. Every failure, from a
// missing file to a corrupt or absurdly large picture, gives a null image; nothing is thrown.

namespace picture {
// Limits that keep a hostile file from exhausting memory; checked before pixels are allocated.
constexpr int maxSide = 16384;
constexpr qint64 maxDecodedBytes = qint64(256) << 20;  // at 4 bytes per pixel
constexpr qint64 maxFileBytes = qint64(64) << 20;
}  // namespace picture

enum class PictureFormat { Unknown, Jpeg, Gif, Bmp };

// The format named by the first bytes of a file.
PictureFormat pictureFormat(const QByteArray& data);
// Whether a picture of this size may be decoded within the limits above.
bool pictureSizeAllowed(qint64 width, qint64 height);

// A decoded picture is kept no larger than the largest size it can be shown at: a bigger one is
// reduced to fit within `largest`, its aspect ratio kept, so that a small file claiming a huge
// size holds its pixels only while it is decoded (a JPEG is already decoded at a reduced
// scale). An empty `largest` keeps every picture as it is.
QSize fittedSize(QSize picture, QSize largest);
QImage fitWithin(const QImage& image, QSize largest);
// The largest a picture can be shown in a window: the window's size or a monitor's.
QSize largestShownSize(QSize window, const QList<QRect>& monitors);

QImage decodeJpeg(const QByteArray& data, QSize largest = {});
// The first image of the file on its logical screen; its transparent index becomes alpha 0.
QImage decodeGif(const QByteArray& data);
QImage decodeBmp(const QByteArray& data);
// Decodes any of the three formats, chosen by content.
QImage decodePicture(const QByteArray& data, QSize largest = {});

QImage loadPicture(const QString& path, QSize largest = {});
