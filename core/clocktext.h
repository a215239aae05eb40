#pragma once

#include <QString>

// Whole seconds as a clock text: minutes and two-digit seconds, hours in front from one hour
// on (0 -> "0:00", 65 -> "1:05", 3725 -> "1:02:05").
QString SpanText(int seconds);

// The clock text of v elapsed seconds; counting down shows the time left of the period.
QString ClockText(int seconds, bool countDown, int periodLength);
