// Every key of config.tml in one table: the group inside "application" it belongs to, the kind of
// value it takes, its default as the file would write it and where the settings record keeps it.
// The settings reader and stagewalk-check both read this table, so they cannot disagree.
// Constant after first use; any thread.
#pragma once

#include "common/leading_int.h"

#include <string>
#include <vector>

namespace Application {

struct Settings;

enum class ConfigKind {
    Integer,    // the standard integer conversion ("800px" reads 800); no digits or beyond int: refused
    Size,       // an Integer that is a width or height in pixels
    ExactTrue,  // true for the exact text "true", false for any other text
    Boolean,    // "true" or "false"; any other text is refused
    Positive,   // a positive decimal number written as digits with at most one point; else refused
    Fraction,   // a decimal number from 0 to 1, written like a Positive; else refused
    Text,       // taken as it stands
};

// A value as its kind reads it; only the member of that kind is set.
struct ConfigValue {
    int integer = 0;      // Integer, Size
    float number = 0.0f;  // Positive, Fraction
    bool flag = false;    // ExactTrue, Boolean
    std::string text;     // Text
};

struct ConfigKey {
    const char* group;
    const char* key;
    ConfigKind kind;
    std::string byDefault;  // the default, as config.tml would write it
    bool used;              // false: kept in the record, never read by the game
    // A Positive value outside [plausibleLow, plausibleHigh] is legal but most likely a slip.
    float plausibleLow;
    float plausibleHigh;
    void (*store)(Settings& settings, const ConfigValue& value);
};

const std::vector<ConfigKey>& ConfigKeys();  // in the order the README lists them
const ConfigKey* FindConfigKey(const std::string& group, const std::string& key);  // null if unknown

using ValueParse = Common::NumberStatus;  // OutOfRange: an integer beyond int
// Reads `text` as `kind` into `value`: what the game makes of it, or why it refuses it.
ValueParse ParseConfigValue(ConfigKind kind, const std::string& text, ConfigValue& value);

// The standard base-10 conversion (Common::ReadLeadingInt): leading white space, optional sign, the
// longest digit run; the rest of the text is ignored ("800px" gives 800). No digits: Invalid; beyond
// int: OutOfRange.
ValueParse ParseInt(const std::string& text, int& value);

}  // namespace Application
