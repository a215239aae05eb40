#pragma once

#include <QJsonObject>

struct MatchSnapshot;

// The match as the remote pages and scripts read it: what both windows show (clock text,
// scores, penalty texts, display modes) and the snapshot's times in milliseconds.
QJsonObject matchStateJson(const MatchSnapshot& snapshot);
