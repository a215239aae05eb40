#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The team names offered by the configuration dialog: "teams.txt" beside the program, one name
// per line, read with the running-text list's rules for encodings and line ends. A list of
// names needs far less than a running-text list, so only the first maxBytes are read; blank
// lines are no names and are left out. The names come sorted ignoring case, as the dialog's
// list shows them.
namespace TeamsFile {

inline constexpr char fileName[] = "teams.txt";
constexpr qint64 maxBytes = 64 * 1024;

// Nothing when the file cannot be read (missing, unreadable, not a regular file).
std::optional<QStringList> read(const QString& path);

}  // namespace TeamsFile
