// What the game reads from config.tml: the groups inside "application", their keys and the kind of
// value each key takes. Constant tables and the value checks; any thread.
#pragma once

#include "markup/node.h"
#include "stagewalk_check/diagnostics.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

enum class ValueKind {
    Integer,        // read with the game's integer conversion
    Size,           // an integer that is a width or height in pixels
    Boolean,        // true only for the exact text "true"
    UnusedBoolean,  // the same, but the game stores it and never reads it
    Text,           // taken as it stands
};

struct ConfigKey {
    const char* group;
    const char* key;
    ValueKind kind;
};

const std::vector<ConfigKey>& ConfigKeys();      // every key the game reads, by group
const std::vector<std::string>& ConfigGroups();  // "properties", "window", "canvas"
const ConfigKey* FindConfigKey(const std::string& group, const std::string& key);  // null if unknown
std::vector<std::string> KeysOfGroup(const std::string& group);  // the keys of one group, in order
std::vector<std::string> GroupsWithKey(const std::string& key);  // the groups that have `key`

// Reports what is wrong with `attribute`'s value for `key` (of `group`) in `file`.
void CheckConfigValue(const ConfigKey& key, const Tml::Attribute& attribute, const std::string& file,
                      Diagnostics& out);

}  // namespace StagewalkCheck
