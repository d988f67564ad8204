// The loading plan read from the asset manifest (entries, a cursor, the store that receives what
// is loaded) and the process-wide background loader that works through it on one worker thread.
// Built and started on the main thread; while the worker runs only it touches the buffer and the
// store, and the main thread reads nothing but the status (under the loader mutex).
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Tml {
class Document;
}

namespace Engine {

class Assets;

// One manifest entry: the name the asset is found under, its kind and the file to load.
struct AssetEntry {
    std::string name;
    std::string kind;  // one of AssetKind::All
    std::string path;  // the list's "workdir" prefix followed by the entry's "path"
};

class AssetBuffer {
public:
    AssetBuffer() = default;
    // Reads the manifest at `manifestPath`; markup errors propagate. A missing file plans nothing.
    AssetBuffer(const std::string& manifestPath, Assets* assets);
    // The same from a parsed manifest.
    AssetBuffer(const Tml::Document& manifest, Assets* assets);
    // A plan of the given entries, in their order: a part of a manifest's plan.
    AssetBuffer(std::vector<AssetEntry> entries, Assets* assets);

    // Status 0, then the worker starts on this buffer. The buffer and its store must outlive it.
    void StartLoading();
    // Loads the entry at the cursor into the store; true when no entry is left. Worker only.
    bool LoadNext();
    // The worker: loads every entry, then status 1; the first failure leaves its text and status -1.
    static int LoaderThreadMain(AssetBuffer* buffer);

    static int GetLoadingStatus();         // 0 loading / not started, 1 finished, -1 failed
    static std::string GetLoadingError();  // the text of the failure that ended loading
    static void JoinLoading();             // waits for a started worker; otherwise does nothing

    const std::vector<AssetEntry>& GetEntries() const { return entries; }
    uint32_t GetNextIndex() const { return nextIndex; }
    uint32_t GetEntryCount() const { return entryCount; }

private:
    static void SetStatus(int status);
    static void Fail(const std::string& error);

    std::vector<AssetEntry> entries;
    uint32_t nextIndex = 0;
    uint32_t entryCount = 0;
    Assets* assets = nullptr;

    static int loadingStatus;
    static std::string loadingError;
    static std::mutex loaderMutex;
    static std::thread worker;
};

}  // namespace Engine
