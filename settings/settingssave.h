#pragma once

#include <QString>
#include <functional>

class Dialogs;
class SettingsKey;

// Runs writeGroups, in which the windows write their settings groups at exit, with the key's
// writes held, so that both groups are stored together in one piece. If they cannot be stored
// the operator is told so once, in an error box naming the store and the system's reason;
// the result is false then.
bool saveSettingsAtExit(SettingsKey& key, Dialogs& dialogs, const QString& caption,
                        const std::function<void()>& writeGroups);
