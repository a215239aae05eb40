#pragma once

#include <QImage>

// The console's built-in field picture: a handball court seen from above.
QImage courtPicture(const QSize& size);
