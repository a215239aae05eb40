#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A Windows icon file (.ico) holding `images` as PNG pictures, in their order; the Windows
// build compiles it into the program's resources. Empty when `images` is empty or a picture is
// null or larger than the format's 256 × 256.
QByteArray windowsIconFile(const QList<QImage>& images);

// The sizes Windows draws a program's icon at: 16 and 32 scaled for 125 % and 150 %, 48, 64,
// and Explorer's large views.
const QList<int>& windowsIconSizes();
