#pragma once

#include <QJsonObject>
#include <optional>

#include "core/matchstate.h"

// A match snapshot as the journal stores it.
QJsonObject toJson(const MatchSnapshot& snapshot);

// Empty unless every field is present and the whole is a match the rules can reach: scores
// not negative, period 0..4, penalties within their time, the clock inside its period.
std::optional<MatchSnapshot> snapshotFromJson(const QJsonObject& object);
