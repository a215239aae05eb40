#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The program's icon: a small scoreboard with an orange names strip over a yellow "3:1" in
// seven-segment figures. Drawn from shapes only, so it needs no fonts and no application object
// (the build writes the installed PNG files with the same function).
QImage applicationIconImage(int size);

// Sizes of the desktop's icon theme folders.
const QList<int>& applicationIconSizes();

// The icon at every size above, for window title bars and task bars; every call returns the
// same icon (one cache key).
QIcon applicationIcon();
