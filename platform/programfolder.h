#pragma once

#include <QString>

// Where the program keeps the files that lie "beside it": the running-text list, the
// logo-screen picture, the console's field picture and the help file. That is the executable's
// own folder when the user may write there (a copy built or unpacked in the user's folders).
// For an installed program (see installedMarker) or a read-only folder it is the user's data
// folder (Linux: ~/.local/share/Merrowtide/Scorvex, Windows: %APPDATA%\Merrowtide\Scorvex),
// which is created so the list can be saved there.
QString programFolder();

// The file whose presence marks the program in `executableFolder` as installed: its desktop
// entry in <prefix>/share/applications on Linux, the uninstaller beside it on Windows.
QString installedMarker(const QString& executableFolder);
// Whether the user may create files in `folder`.
bool folderIsWritable(const QString& folder);
// The user's own data folder of the program (not created here).
QString userDataFolder();

// The same choice with its inputs given; `userFolder` is created when chosen.
QString chooseProgramFolder(const QString& executableFolder, const QString& userFolder);

// A file in the program folder named after the executable with another suffix ("jpg", "chm").
QString programFile(const QString& suffix);
