#include "engine/assets/assets.h"

#include "engine/assets/raw_bitmap.h"
#include "engine/audio/audio_device.h"
#include "engine/audio/sound.h"
#include "engine/audio/sound_data.h"
#include "engine/graphics/model.h"
#include "engine/graphics/texture.h"
#include "markup/document.h"
#include "tmxparser/tmx_map.h"

#include <memory>

namespace Engine {

namespace {

// The object that belongs to the first entry called `name`, or null. Both lists are filled in
// step, but the object list may still be empty (before the main-thread finishing steps).
template <typename T>
T* Find(const std::vector<std::string>& names, const std::vector<T*>& objects, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return i < objects.size() ? objects[i] : nullptr;
    }
    return nullptr;
}

}  // namespace

// Releases every record the store owns. The OpenGL texture and buffer names behind them are not
// deleted: the program never releases its store during a run, and when a store does go (tests,
// process exit) the context that made those names may already be gone with the window library.
Assets::~Assets() {
    for (RawBitmap* bitmap : bitmaps) delete bitmap;
    for (Texture* texture : textures) delete texture;
    for (TmxParser::TmxMap* map : maps) delete map;
    for (Model* model : models) delete model;
    for (ModelData* data : modelData) delete data;
    for (Tml::Document* document : documents) delete document;
    for (SoundData* data : soundData) delete data;
    for (Sound* sound : sounds) delete sound;
}

Texture* Assets::GetTexture(const std::string& name) const { return Find(bitmapNames, textures, name); }
Model* Assets::GetModel(const std::string& name) const { return Find(modelNames, models, name); }
const ModelData* Assets::GetModelData(const std::string& name) const {
    return Find(modelNames, modelData, name);
}
TmxParser::TmxMap* Assets::GetMap(const std::string& name) const { return Find(mapNames, maps, name); }
const Tml::Document* Assets::GetDocument(const std::string& name) const {
    return Find(documentNames, documents, name);
}

const Sound* Assets::GetSound(const std::string& name) const { return Find(soundNames, sounds, name); }

void Assets::CreateTextures() {
    for (RawBitmap*& slot : bitmaps) {
        std::unique_ptr<RawBitmap> raw(slot);
        slot = nullptr;
        // CreateTexture releases the bitmap when it makes a texture and leaves it to us otherwise.
        Texture* texture = CreateTexture(raw.get());
        if (texture) raw.release();
        // A null texture still takes its place, so the i-th name keeps the i-th texture.
        textures.push_back(texture);
    }
    bitmaps.clear();
}

void Assets::CreateModels() {
    for (ModelData*& slot : modelData) {
        ModelData* data = slot;
        slot = nullptr;
        models.push_back(CreateModel(data));
    }
    modelData.clear();
}

void Assets::CreateSounds(AudioDevice& device) {
    for (SoundData*& slot : soundData) {
        std::unique_ptr<SoundData> data(slot);
        slot = nullptr;
        // A null sound still takes its place, so the i-th name keeps the i-th sound.
        sounds.push_back(device.CreateSound(*data));
    }
    soundData.clear();
}

void Assets::AddBitmap(const std::string& name, RawBitmap* bitmap) {
    std::unique_ptr<RawBitmap> owned(bitmap);
    bitmapNames.reserve(bitmapNames.size() + 1);
    bitmaps.push_back(owned.get());
    owned.release();
    bitmapNames.push_back(name);
}

void Assets::AddModelData(const std::string& name, ModelData* data) {
    std::unique_ptr<ModelData> owned(data);
    modelNames.reserve(modelNames.size() + 1);
    modelData.push_back(owned.get());
    owned.release();
    modelNames.push_back(name);
}

void Assets::AddMap(const std::string& name, TmxParser::TmxMap* map) {
    std::unique_ptr<TmxParser::TmxMap> owned(map);
    mapNames.reserve(mapNames.size() + 1);
    maps.push_back(owned.get());
    owned.release();
    mapNames.push_back(name);
}

void Assets::AddDocument(const std::string& name, Tml::Document* document) {
    std::unique_ptr<Tml::Document> owned(document);
    documentNames.reserve(documentNames.size() + 1);
    documents.push_back(owned.get());
    owned.release();
    documentNames.push_back(name);
}

void Assets::AddSoundData(const std::string& name, SoundData* data) {
    std::unique_ptr<SoundData> owned(data);
    soundNames.reserve(soundNames.size() + 1);
    soundData.push_back(owned.get());
    owned.release();
    soundNames.push_back(name);
}

}  // namespace Engine
