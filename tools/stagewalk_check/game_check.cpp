#include "stagewalk_check/game_check.h"

#include "application/asset_names.h"
#include "application/level_list.h"
#include "stagewalk_check/asset_files_check.h"
#include "stagewalk_check/config_check.h"
#include "stagewalk_check/document_check.h"
#include "stagewalk_check/geometry_check.h"
#include "stagewalk_check/level_list_check.h"
#include "stagewalk_check/manifest_check.h"
#include "stagewalk_check/required_assets.h"

namespace StagewalkCheck {

namespace {

using Application::AssetNames::SettingsFile;

void CheckShaders(const GameFolder& folder, const PathSetting& shaderPath, Diagnostics& out) {
    if (shaderPath.value.empty()) return;  // reported with the settings
    for (const char* name :
         {Application::AssetNames::VertexShader, Application::AssetNames::FragmentShader}) {
        // The game joins the folder and the name with a "/" of its own.
        const std::string path = shaderPath.value + "/" + name;
        if (!folder.IsFile(path)) {
            out.Error(SettingsFile, shaderPath.line, "shader file " + Quote(path) + " not found");
        }
    }
}

void CheckAssets(const GameFolder& folder, const PathSetting& assetPath, Diagnostics& out) {
    const std::string& manifestFile = assetPath.value;
    if (manifestFile.empty()) return;  // reported with the settings
    const CheckedDocument manifest = CheckDocument(folder, manifestFile, out);
    if (manifest.state == DocumentState::Missing) {
        const std::string what = folder.IsDirectory(manifestFile) ? " is a folder" : " not found";
        out.Error(SettingsFile, assetPath.line,
                  "asset manifest " + Quote(manifestFile) + what + ": the game loads no assets");
        return;
    }
    if (manifest.state == DocumentState::BadHeader) return;
    const std::vector<PlannedEntry> plan = CheckManifest(*manifest.document, manifestFile, out);
    CheckAssetFiles(plan, folder, manifestFile, out);
    const Application::LevelList levels = Application::LevelList::Read(*manifest.document);
    CheckRequiredAssets(plan, manifestFile, out, !levels.Implicit());
    CheckLevelList(*manifest.document, manifestFile, plan, folder, out);
    CheckGeometry(plan, levels, folder, out);
}

}  // namespace

void CheckGame(const GameFolder& folder, Diagnostics& out) {
    const CheckedDocument config = CheckDocument(folder, SettingsFile, out);
    if (config.state == DocumentState::Missing) {
        out.Error(SettingsFile, 0, "not found: the game runs on its defaults, without assets or shaders");
        return;
    }
    if (config.state == DocumentState::BadHeader) return;
    const ConfigFindings settings = CheckConfig(*config.document, SettingsFile, out);
    CheckShaders(folder, settings.shaderPath, out);
    CheckAssets(folder, settings.assetPath, out);
}

}  // namespace StagewalkCheck
