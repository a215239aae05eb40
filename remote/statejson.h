#pragma once

#include <QJsonObject>

struct MatchSnapshot;
struct TSettings;

// The match as the remote pages and scripts read it: what the boards show (their board view:
// clock band, scores, fouls, display modes), the penalties, and the snapshot's times in
// milliseconds.
QJsonObject matchStateJson(const MatchSnapshot& snapshot, const TSettings& settings);
