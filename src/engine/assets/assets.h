// The asset store: every loaded bitmap, texture, model, tile map, markup document and sound with the
// manifest name it was listed under. Owned by the application shell for the run; written by the loader thread
// while it runs, then finished and read on the main thread only after the loader has been joined.
#pragma once

#include "engine/graphics/mesh_data.h"

#include <string>
#include <vector>

namespace TmxParser {
class TmxMap;
}

namespace Tml {
class Document;
}

namespace Engine {

class AudioDevice;
class Model;
struct RawBitmap;
struct Sound;
struct SoundData;
struct Texture;

class Assets {
public:
    Assets() = default;
    ~Assets();
    Assets(const Assets&) = delete;
    Assets& operator=(const Assets&) = delete;

    // The texture of the first bitmap entry named `name`, or null (also before CreateTextures).
    Texture* GetTexture(const std::string& name) const;
    // The model of the first model entry named `name`, or null (also before CreateModels).
    Model* GetModel(const std::string& name) const;
    // The model data of the first model entry named `name` as the loader left it, or null (also once
    // CreateModels has made it drawable): what a store read only to look at, never drawn, holds.
    const ModelData* GetModelData(const std::string& name) const;
    // The map of the first map entry named `name`, or null.
    TmxParser::TmxMap* GetMap(const std::string& name) const;
    // The document of the first markup entry named `name`, or null.
    const Tml::Document* GetDocument(const std::string& name) const;
    // The sound of the first sound entry named `name`, or null (also before CreateSounds, and
    // without an audio device).
    const Sound* GetSound(const std::string& name) const;

    // Main thread, once after loading: every raw bitmap becomes a texture; `bitmaps` is emptied.
    void CreateTextures();
    // Main thread, once after loading: every model data becomes a model; `modelData` is emptied.
    void CreateModels();
    // Main thread, once after loading: every decoded sound becomes a buffer on `device` (a null
    // sound without one); `soundData` is emptied.
    void CreateSounds(AudioDevice& device);

    // Loader side: append an object and its name as one step. The store takes ownership.
    void AddBitmap(const std::string& name, RawBitmap* bitmap);
    void AddModelData(const std::string& name, ModelData* data);
    void AddMap(const std::string& name, TmxParser::TmxMap* map);
    void AddDocument(const std::string& name, Tml::Document* document);
    void AddSoundData(const std::string& name, SoundData* data);

    size_t GetBitmapCount() const { return bitmaps.size(); }
    size_t GetModelDataCount() const { return modelData.size(); }
    size_t GetMapCount() const { return maps.size(); }
    size_t GetDocumentCount() const { return documents.size(); }
    size_t GetTextureCount() const { return textures.size(); }
    size_t GetModelCount() const { return models.size(); }
    size_t GetSoundDataCount() const { return soundData.size(); }
    size_t GetSoundCount() const { return sounds.size(); }

private:
    std::vector<RawBitmap*> bitmaps;
    std::vector<Texture*> textures;
    std::vector<std::string> bitmapNames;
    std::vector<TmxParser::TmxMap*> maps;
    std::vector<std::string> mapNames;
    std::vector<Model*> models;
    std::vector<ModelData*> modelData;
    std::vector<std::string> modelNames;
    std::vector<Tml::Document*> documents;
    std::vector<std::string> documentNames;
    std::vector<SoundData*> soundData;
    std::vector<Sound*> sounds;
    std::vector<std::string> soundNames;
};

}  // namespace Engine
