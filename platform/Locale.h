#pragma once
// The user's number format: the decimal separator used to read catalogue
// numbers and to write prices. Taken from the system locale at start-up and
// replaceable, so tests can fix it.
#include <string>
#include <string_view>

// The user's decimal separator when it is one plain character, else '.'.
// Read afresh: DecimalSeparator() keeps the first answer.
char SystemDecimalSeparator();
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// Reads a plain decimal number: optional blanks, sign, digits with at most one
// decimal separator, optional blanks. Anything else (an exponent too) fails.
bool TryStrToFloat(std::string_view text, double& value, char separator = DecimalSeparator());

// Reads a catalogue price: with the user's decimal separator and, failing
// that, with a point, so a catalogue shared between offices in different
// countries gives every office the same prices.
bool TryStrToPrice(std::string_view text, double& value);

// General number format with at most 15 significant digits.
std::string FloatToStr(double value, char separator = DecimalSeparator());
