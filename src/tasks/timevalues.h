#pragma once
// Time texts ("hh:mm:ss" with optional ".tenths") and seconds.
#include <QString>

// Seconds of a time text; -1 when the text is not a time (or its total leaves 32 bits).
double TimeToSeconds(const QString &text);

// "hh:mm:ss", each part at least two digits, then "." and the tenth when it is not 0.
// Tenths that round to ten carry into the seconds (59.96 gives 00:01:00).
QString SecondsToTime(double seconds);
