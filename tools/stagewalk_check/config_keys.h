// The checker's view of the game's table of config keys: the groups, the keys of a group, the
// groups of a key, and what is wrong with a value as the game would read it. Keeps no state of its
// own; any thread.
#pragma once

#include "application/config_keys.h"
#include "markup/node.h"
#include "stagewalk_check/diagnostics.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

using Application::ConfigKey;
using Application::FindConfigKey;

const std::vector<std::string>& ConfigGroups();                  // every group of the table, in its order
std::vector<std::string> KeysOfGroup(const std::string& group);  // the keys of one group, in order
std::vector<std::string> GroupsWithKey(const std::string& key);  // the groups that have `key`

// Reports what is wrong with `attribute`'s value for `key` (of `group`) in `file`.
void CheckConfigValue(const ConfigKey& key, const Tml::Attribute& attribute, const std::string& file,
                      Diagnostics& out);

}  // namespace StagewalkCheck
