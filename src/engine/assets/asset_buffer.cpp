#include "engine/assets/asset_buffer.h"

#include "engine/assets/asset_kinds.h"
#include "engine/assets/assets.h"
#include "engine/assets/markup_loading.h"
#include "engine/assets/model_conversion.h"
#include "engine/assets/raw_bitmap.h"
#include "engine/audio/sound_data.h"
#include "markup/document.h"
#include "markup/tml_reader.h"
#include "tmxparser/tmx_map.h"
#include "tmxparser/tmxparser.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

namespace Engine {

int AssetBuffer::loadingStatus = 0;
std::string AssetBuffer::loadingError;
std::mutex AssetBuffer::loaderMutex;
std::thread AssetBuffer::worker;

AssetBuffer::AssetBuffer(const std::string& manifestPath, Assets* store) : assets(store) {
    const std::unique_ptr<Tml::Document> manifest(Tml::LoadDocument(manifestPath));
    *this = AssetBuffer(*manifest, store);
}

AssetBuffer::AssetBuffer(const Tml::Document& manifest, Assets* store) : assets(store) {
    // These carry over from entry to entry and from list to list: an entry without a "name" takes
    // the name before it, and a list without "workdir" keeps the prefix of the list before it.
    std::string prefix;
    std::string kind;
    std::string name;
    std::string path;
    for (const Tml::Node* list : manifest.RootNodes()) {
        if (list->Name() != Manifest::List) continue;
        for (const Tml::Attribute& attribute : list->Attributes()) {
            if (attribute.key == Manifest::Workdir) prefix = attribute.value + "/";
        }
        for (const Tml::Node* child : list->Children()) {
            kind = child->Name();
            for (const Tml::Attribute& attribute : child->Attributes()) {
                if (attribute.key == Manifest::Name)
                    name = attribute.value;
                else if (attribute.key == Manifest::Path)
                    path = prefix + attribute.value;
            }
            if (AssetKind::IsKnown(kind)) {
                entries.push_back(AssetEntry{name, kind, path});
                ++entryCount;
            }
        }
    }
}

AssetBuffer::AssetBuffer(std::vector<AssetEntry> plan, Assets* store)
    : entries(std::move(plan)), entryCount(static_cast<uint32_t>(entries.size())), assets(store) {}

void AssetBuffer::StartLoading() {
    SetStatus(0);
    // Assigning over a worker that was started and never joined ends the process: that is a
    // programming error, not a condition to recover from.
    worker = std::thread(LoaderThreadMain, this);
}

bool AssetBuffer::LoadNext() {
    if (entryCount == 0 || nextIndex >= entryCount) return true;
    const AssetEntry entry = entries[nextIndex];
    if (entry.kind == AssetKind::Bitmap) {
        assets->AddBitmap(entry.name, LoadBitmap(entry.path));
    } else if (entry.kind == AssetKind::Model) {
        assets->AddModelData(entry.name, ConvertObj(entry.path));
    } else if (entry.kind == AssetKind::Map) {
        TmxParser::TmxMap* map = TmxParser::LoadTmxMap(entry.path);
        if (!map) throw std::runtime_error(TmxParser::GetError());
        assets->AddMap(entry.name, map);
    } else if (entry.kind == AssetKind::Markup) {
        assets->AddDocument(entry.name, LoadMarkup(entry.path));
    } else if (entry.kind == AssetKind::Sound) {
        assets->AddSoundData(entry.name, LoadSound(entry.path));
    }
    ++nextIndex;
    return nextIndex == entryCount;
}

int AssetBuffer::LoaderThreadMain(AssetBuffer* buffer) {
    SetStatus(0);
    // Whatever a load throws ends loading with a message; nothing may leave the worker and end the
    // process. The entry at the cursor is the one that failed.
    auto failingPath = [buffer]() {
        return buffer->nextIndex < buffer->entries.size() ? buffer->entries[buffer->nextIndex].path
                                                          : std::string();
    };
    try {
        while (!buffer->LoadNext()) {
        }
        SetStatus(1);
    } catch (const std::runtime_error& error) {
        Fail(error.what());
    } catch (const std::bad_alloc&) {
        try {
            Fail("Out of memory while loading " + failingPath());
        } catch (const std::bad_alloc&) {
            Fail("Out of memory");  // short enough to need no allocation
        }
    } catch (const std::exception& error) {
        Fail("Unexpected error while loading " + failingPath() + ": " + error.what());
    } catch (...) {
        Fail("Unexpected error while loading " + failingPath());
    }
    return 0;
}

void AssetBuffer::SetStatus(int status) {
    std::lock_guard<std::mutex> lock(loaderMutex);
    loadingStatus = status;
}

void AssetBuffer::Fail(const std::string& error) {
    // The text goes in before the status, in one locked section, so a reader of -1 sees all of it.
    std::lock_guard<std::mutex> lock(loaderMutex);
    loadingError = error;
    loadingStatus = -1;
}

int AssetBuffer::GetLoadingStatus() {
    std::lock_guard<std::mutex> lock(loaderMutex);
    return loadingStatus;
}

std::string AssetBuffer::GetLoadingError() {
    std::lock_guard<std::mutex> lock(loaderMutex);
    return loadingError;
}

void AssetBuffer::JoinLoading() {
    if (worker.joinable()) worker.join();
}

}  // namespace Engine
