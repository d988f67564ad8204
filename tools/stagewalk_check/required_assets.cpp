#include "stagewalk_check/required_assets.h"

#include "stagewalk_check/suggestion.h"

namespace StagewalkCheck {

namespace {

const PlannedEntry* Find(const std::vector<PlannedEntry>& plan, const std::string& kind,
                         const std::string& name) {
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.kind == kind && planned.entry.name == name) return &planned;
    }
    return nullptr;
}

std::string Hint(const std::vector<PlannedEntry>& plan, const std::string& kind, const std::string& name) {
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.name == name) {
            return " (line " + std::to_string(planned.line) + " lists it as a " + planned.entry.kind + ")";
        }
    }
    std::vector<std::string> names;
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.kind == kind) names.push_back(planned.entry.name);
    }
    const std::string near = Nearest(name, names);
    if (near.empty()) return std::string();
    return " (is " + Quote(near) + " at line " + std::to_string(Find(plan, kind, near)->line) + " meant?)";
}

}  // namespace

void CheckRequiredAssets(const std::vector<PlannedEntry>& plan, const std::string& manifestFile,
                         Diagnostics& out, bool levelsListed) {
    for (const Application::AssetNames::Required& required : Application::AssetNames::All) {
        if (Find(plan, required.kind, required.name)) continue;
        if (levelsListed && std::string(required.name) == kRoomModel) continue;
        out.Error(manifestFile, 0,
                  std::string("the game asks for ") + required.kind + " " + Quote(required.name) +
                      ", which the manifest does not list" + Hint(plan, required.kind, required.name));
    }
    for (const Application::AssetNames::Required& required : Application::AssetNames::Sounds) {
        if (Find(plan, required.kind, required.name)) continue;
        out.Warning(manifestFile, 0,
                    std::string("the game plays ") + required.kind + " " + Quote(required.name) +
                        ", which the manifest does not list: it stays silent there" +
                        Hint(plan, required.kind, required.name));
    }
}

}  // namespace StagewalkCheck
