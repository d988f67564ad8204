#include "stagewalk_check/asset_files_check.h"

#include "engine/assets/asset_kinds.h"
#include "engine/assets/markup_loading.h"
#include "engine/assets/model_conversion.h"
#include "engine/assets/raw_bitmap.h"
#include "engine/audio/sound_data.h"
#include "markup/document.h"
#include "stagewalk_check/image_diagnosis.h"
#include "stagewalk_check/required_assets.h"
#include "tmxparser/tmxparser.h"

#include <exception>
#include <memory>
#include <stdexcept>

namespace StagewalkCheck {

namespace {

// Loads one file; returns the loader's failure text, or the empty string when it loaded. Sets
// `faceless` for a model without a single face.
std::string Load(const Engine::AssetEntry& entry, const std::string& file, bool& faceless) {
    try {
        if (entry.kind == Engine::AssetKind::Bitmap) {
            std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(file));
        } else if (entry.kind == Engine::AssetKind::Model) {
            std::unique_ptr<Engine::ModelData> model(Engine::ConvertObj(file));
            faceless = model->empty();
        } else if (entry.kind == Engine::AssetKind::Map) {
            std::unique_ptr<TmxParser::TmxMap> map(TmxParser::LoadTmxMap(file));
            if (!map) return TmxParser::GetError();
        } else if (entry.kind == Engine::AssetKind::Markup) {
            std::unique_ptr<Tml::Document> document(Engine::LoadMarkup(file));
        } else if (entry.kind == Engine::AssetKind::Sound) {
            std::unique_ptr<Engine::SoundData> sound(Engine::LoadSound(file));
        }
    } catch (const std::exception& error) {
        return error.what();
    }
    return std::string();
}

void CheckEntry(const PlannedEntry& planned, const GameFolder& folder, const std::string& manifestFile,
                Diagnostics& out) {
    const Engine::AssetEntry& entry = planned.entry;
    const std::string subject = entry.kind + " " + Quote(entry.name);
    if (!planned.hasPath) return;  // reported with the manifest
    if (entry.path.empty()) {
        out.Error(manifestFile, planned.line, subject + " has an empty path");
        return;
    }
    if (!folder.IsFile(entry.path)) {
        const bool isFolder = folder.IsDirectory(entry.path);
        out.Error(manifestFile, planned.line,
                  subject + ": " +
                      (isFolder ? "path " + Quote(entry.path) + " is a folder, not a file"
                                : "file " + Quote(entry.path) + " not found"));
        return;
    }
    bool faceless = false;
    const std::string failure = Load(entry, folder.Resolve(entry.path), faceless);
    if (!failure.empty()) {
        std::string reason;
        if (entry.kind == Engine::AssetKind::Bitmap) {
            // The loader says only that it failed; the bytes often say why, and what to do about it.
            ImageCheck::ImageBytes bytes(folder.Resolve(entry.path));
            reason = ExplainRefusedImage(bytes);
        }
        out.Error(
            manifestFile, planned.line,
            subject + ": " + folder.AsWritten(failure, entry.path) + (reason.empty() ? "" : ": " + reason));
    } else if (faceless && entry.name == kRoomModel && planned.firstOfName) {
        out.Error(manifestFile, planned.line, subject + " has no faces: the room has no floor to walk on");
    } else if (faceless) {
        out.Warning(manifestFile, planned.line, subject + " has no faces: nothing of it is drawn");
    }
}

}  // namespace

void CheckAssetFiles(const std::vector<PlannedEntry>& plan, const GameFolder& folder,
                     const std::string& manifestFile, Diagnostics& out) {
    for (const PlannedEntry& planned : plan) CheckEntry(planned, folder, manifestFile, out);
}

}  // namespace StagewalkCheck
