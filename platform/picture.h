#pragma once

#include <QByteArray>
#include <QImage>
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

QImage decodeJpeg(const QByteArray& data);
// The first image of the file on its logical screen; its transparent index becomes alpha 0.
QImage decodeGif(const QByteArray& data);
QImage decodeBmp(const QByteArray& data);
// Decodes any of the three formats, chosen by content.
QImage decodePicture(const QByteArray& data);

QImage loadPicture(const QString& path);
