#pragma once

#include <QString>
#include <optional>

// Whole seconds as a clock text: minutes and two-digit seconds, hours in front from one hour
// on (0 -> "0:00", 65 -> "1:05", 3725 -> "1:02:05").
QString SpanText(int seconds);

// The clock text of v elapsed seconds; counting down shows the time left of the period.
QString ClockText(int seconds, bool countDown, int periodLength);

// The seconds of a typed "m:ss" (minutes without a limit of digits, seconds two digits below
// 60): "1:15" -> 75, "20:00" -> 1200; nothing for any other text.
std::optional<int> SpanSeconds(const QString& text);

// The seconds of a typed clock time, "m:ss" or "h:mm:ss" ("12:34" -> 754, "1:02:05" -> 3725);
// nothing for any other text.
std::optional<int> ClockTimeSeconds(const QString& text);
