#pragma once

#include "cards/CardSettings.h"

class IniFile;
class OptionValues;

// The record card's settings from the options file: the ordered options (VAT rates, key
// date, currency, DM rate, the pharmacy) and the take-over switches of their own sections.
CardSettings CardSettingsFromOptions(const OptionValues& values, const IniFile& ini);
