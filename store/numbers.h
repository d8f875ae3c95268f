#pragma once
// The one road from text to number. Every value read from a table, the
// archive, a workbook or a table cell goes through these, so that a damaged
// or hand-edited file can never bring NaN or infinity into a total, a report
// or a file.

#include <QString>

// Decimal text with an optional exponent, surrounding blanks ignored.
// Anything else, "nan", "inf" and values a double cannot hold read as 0.
double toNumber(const QString& text);

// The same, telling whether the text was a number at all.
double toNumber(const QString& text, bool* ok);

// A whole number written as an integer ("12", " 12 "); anything else,
// including "1.0" and values an int cannot hold, reads as 0.
int toInteger(const QString& text);

// A whole number that may also be written with decimals ("3.0" is 3, "3.7"
// is 3, truncated toward zero); text that is no number or whose value an int
// cannot hold reads as 0.
int toWholeNumber(const QString& text);

// A double converted to int only when it fits; otherwise (NaN, infinity,
// out of range) fallback.
int clampedInt(double value, int fallback = 0);

// Text a user typed or a spreadsheet gave: surrounding blanks dropped,
// blanks and non-breaking spaces between digit groups removed, a decimal
// comma read as a point. Returns false, leaving *value untouched, when what
// remains is no finite number.
bool parseTypedNumber(const QString& text, double* value);
