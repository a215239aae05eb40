#pragma once

#include <QString>
#include <optional>

// The period length as the configuration dialog edits it: a four-digit "MM:SS" field. Lengths
// from an hour on do not fit; they show their whole minutes (capped at 99), which the dialog
// then refuses on OK, so an unchanged field never shortens a stored length.
QString periodLengthText(int seconds);

// Seconds of an "hh:mm:ss" text whose minutes and seconds are at most 59; nothing for any
// other text.
std::optional<int> periodSeconds(const QString& text);
