// Doubles read from text as wcstod reads them in the classic locale.
#pragma once

// Leading white space, an optional sign, then a decimal or hexadecimal
// number, "inf", "infinity" or "nan"; false unless the whole text is used.
bool ParseWholeDouble(const char16_t* text, double& result);
