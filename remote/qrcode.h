#pragma once

#include <QImage>
#include <QString>

// The QR code of `text`, one pixel per module with the 4-module quiet zone around it, black on
// white; a null image when the text does not fit into a QR code.
QImage qrCodeImage(const QString& text);
