#include "stagewalk_check/config_check.h"

#include "stagewalk_check/config_keys.h"
#include "stagewalk_check/suggestion.h"

#include <map>
#include <utility>

namespace StagewalkCheck {

namespace {

// " (it belongs in group 'window' or 'canvas')" for a key that some group has, else empty.
std::string BelongsIn(const std::string& key) {
    const std::vector<std::string> groups = GroupsWithKey(key);
    if (groups.empty()) return std::string();
    std::string text = " (it belongs in group " + Quote(groups[0]);
    for (size_t i = 1; i < groups.size(); ++i) text += " or " + Quote(groups[i]);
    return text + ")";
}

class ConfigWalk {
public:
    ConfigWalk(const std::string& file, Diagnostics& out) : file(file), out(out) {}

    void Root(const Tml::Node& root) {
        if (root.Name() != "application") {
            const bool isGroup = !KeysOfGroup(root.Name()).empty();
            const std::string hint = isGroup ? " (groups belong inside '{ application')"
                                             : DidYouMean(root.Name(), {"application"});
            out.Warning(file, root.Line(), "unknown root node " + Quote(root.Name()) + hint);
            return;
        }
        for (const Tml::Attribute& attribute : root.Attributes()) {
            const std::string hint = BelongsIn(attribute.key);
            out.Warning(file, attribute.line,
                        "key " + Quote(attribute.key) + " directly under 'application' is ignored" +
                            (hint.empty() ? " (settings go inside a group)" : hint));
        }
        for (const Tml::Node* group : root.Children()) Group(*group);
    }

    ConfigFindings findings;

private:
    void Group(const Tml::Node& group) {
        const std::string& name = group.Name();
        if (KeysOfGroup(name).empty()) {
            out.Warning(file, group.Line(),
                        "unknown group " + Quote(name) + DidYouMean(name, ConfigGroups()));
            return;
        }
        for (const Tml::Node* child : group.Children()) {
            out.Warning(file, child->Line(),
                        "node " + Quote(child->Name()) + " inside group " + Quote(name) + " is ignored");
        }
        for (const Tml::Attribute& attribute : group.Attributes()) Key(name, attribute);
    }

    void Key(const std::string& group, const Tml::Attribute& attribute) {
        const ConfigKey* key = FindConfigKey(group, attribute.key);
        if (key == nullptr) {
            std::string hint = BelongsIn(attribute.key);
            if (hint.empty()) hint = DidYouMean(attribute.key, KeysOfGroup(group));
            out.Warning(file, attribute.line,
                        "unknown key " + Quote(attribute.key) + " in group " + Quote(group) + hint);
            return;
        }
        // The game assigns on every occurrence, under any "application" node: the last one wins.
        const auto [first, isNew] = firstLine.emplace(std::make_pair(group, attribute.key), attribute.line);
        if (!isNew) {
            out.Warning(file, attribute.line,
                        Quote(attribute.key) + " in group " + Quote(group) + " is set again (first at line " +
                            std::to_string(first->second) + "); the last value wins");
        }
        CheckConfigValue(*key, attribute, file, out);
        if (group == "properties" && attribute.key == "assetpath") Remember(findings.assetPath, attribute);
        if (group == "properties" && attribute.key == "shaderpath") Remember(findings.shaderPath, attribute);
    }

    static void Remember(PathSetting& setting, const Tml::Attribute& attribute) {
        setting = PathSetting{attribute.value, attribute.line, true};
    }

    const std::string& file;
    Diagnostics& out;
    std::map<std::pair<std::string, std::string>, int> firstLine;
};

void RequirePath(const PathSetting& setting, const char* key, const char* consequence,
                 const std::string& file, Diagnostics& out) {
    if (!setting.given) {
        out.Error(file, 0, std::string("no '") + key + "' in group 'properties': " + consequence);
    } else if (setting.value.empty()) {
        out.Error(file, setting.line,
                  std::string("'") + key + "' in group 'properties' is empty: " + consequence);
    }
}

}  // namespace

ConfigFindings CheckConfig(const Tml::Document& config, const std::string& file, Diagnostics& out) {
    ConfigWalk walk(file, out);
    for (const Tml::Node* root : config.RootNodes()) walk.Root(*root);
    RequirePath(walk.findings.assetPath, "assetpath", "the game loads no assets", file, out);
    RequirePath(walk.findings.shaderPath, "shaderpath", "the game looks for its shaders in '/'", file, out);
    return walk.findings;
}

}  // namespace StagewalkCheck
