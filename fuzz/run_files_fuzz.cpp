// Fuzzes the readers of the files a run leaves: demos and the records of best times. The first byte
// picks the reader (demo, records or both), the rest is the file. A demo that reads holds only
// listed states 1..3 at codes within the tables, keys before buttons, each in ascending order,
// positive finite times, and writes back to the same demo; a refused one gives one line naming the
// file. Records either read without a message (and save to a file that reads back the same) or the
// file is set aside whole.
#include "application/control_state.h"
#include "application/demo_file.h"
#include "application/run_records.h"
#include "fuzz_input.h"

#include <dirent.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Application::ControlState;

constexpr const char* kVersion = "1.0.0";
constexpr const char* kRoom = "0123456789abcdef";

// A scratch folder for one input, in memory where the system has one: every records save syncs its
// file and its folder, which on a disk would make the sync, not the readers, what the fuzzer measures.
// Made and removed around each input, since libFuzzer ends the process without running exit handlers.
class Scratch {
public:
    Scratch() {
        folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        folder += "/stagewalk-run-files-fuzz-XXXXXX";
        Fuzz::Require(mkdtemp(folder.data()) != nullptr, "cannot create the scratch folder");
    }
    ~Scratch() {
        // Whatever the readers and writers left, fresh files of theirs under new names included.
        if (DIR* listing = opendir(folder.c_str())) {
            while (const dirent* entry = readdir(listing)) {
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                    unlink((folder + "/" + entry->d_name).c_str());
            }
            closedir(listing);
        }
        rmdir(folder.c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Folder() const { return folder; }

private:
    std::string folder;
};

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Fuzz::Require(file != nullptr, "cannot create the input file");
    Fuzz::Require(size == 0 || std::fwrite(data, 1, size, file) == size, "cannot write the input file");
    std::fclose(file);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SameBits(const void* a, const void* b, size_t size) { return std::memcmp(a, b, size) == 0; }

void FuzzDemo(const std::string& folder, const uint8_t* data, size_t size) {
    const std::string path = folder + "/run.demo";
    WriteFile(path, data, size);
    Application::Demo demo;
    std::string error;
    if (!Application::ReadDemo(path, kVersion, kRoom, demo, error)) {
        Fuzz::Require(error.rfind("Demo " + path + ": ", 0) == 0, "error does not name the demo");
        Fuzz::Require(error.find('\n') == std::string::npos, "error of more than one line");
        Fuzz::Require(demo.frames.empty(), "frames kept from a refused demo");
        return;
    }
    Fuzz::Require(demo.frames.size() <= Application::DemoLimits::MaxFrames, "too many frames");
    size_t inputs = 0;
    for (const Application::DemoFrame& frame : demo.frames) {
        Fuzz::Require(frame.delta > 0.0 && std::isfinite(frame.delta), "delta not positive");
        Fuzz::Require(std::isfinite(frame.mouse.x) && std::isfinite(frame.mouse.y), "mouse not finite");
        Fuzz::Require(frame.first == inputs, "a frame's entries do not follow the one before");
        for (int i = 0; i < frame.keys + frame.buttons; ++i) {
            const Application::DemoInput& input = demo.inputs[frame.first + static_cast<size_t>(i)];
            const bool key = i < frame.keys;
            Fuzz::Require(input.code < (key ? ControlState::KeyCount : ControlState::ButtonCount),
                          "code out of range");
            Fuzz::Require(i == 0 || i == frame.keys ||
                              demo.inputs[frame.first + static_cast<size_t>(i) - 1].code < input.code,
                          "codes out of order");
            Fuzz::Require(input.state >= ControlState::Held && input.state <= ControlState::Released,
                          "state out of 1..3");
        }
        inputs += static_cast<size_t>(frame.keys + frame.buttons);
    }
    Fuzz::Require(inputs == demo.inputs.size(), "entries no frame holds");

    // What was read, written again, reads back the same; a demo without its end is read from the
    // writer's fresh file, as a crash would leave it.
    const std::string copy = folder + "/copy.demo";
    Application::DemoWriter writer;
    Fuzz::Require(writer.Open(copy, demo.header, error), "a read header cannot be written");
    std::vector<int> keys(ControlState::KeyCount);
    std::vector<int> buttons(ControlState::ButtonCount);
    for (size_t i = 0; i < demo.frames.size(); ++i) {
        demo.Fill(i, keys, buttons);
        writer.WriteFrame(demo.frames[i].delta, demo.frames[i].mouse, keys.data(), ControlState::KeyCount,
                          buttons.data(), ControlState::ButtonCount);
    }
    const std::string written = demo.ended ? copy : writer.FreshPath();
    if (demo.ended) Fuzz::Require(writer.Close(demo.endPosition, error), "a read demo cannot be saved");
    Application::Demo again;
    Fuzz::Require(Application::ReadDemo(written, kVersion, kRoom, again, error),
                  "a rewritten demo is refused");
    Fuzz::Require(again.frames.size() == demo.frames.size() && again.ended == demo.ended &&
                      again.inputs.size() == demo.inputs.size(),
                  "frames differ");
    Fuzz::Require(SameBits(&again.header.sensitivity, &demo.header.sensitivity, sizeof(float)) &&
                      again.header.invert == demo.header.invert,
                  "look settings differ");
    for (size_t i = 0; i < demo.frames.size(); ++i) {
        const Application::DemoFrame& a = demo.frames[i];
        const Application::DemoFrame& b = again.frames[i];
        Fuzz::Require(SameBits(&a.delta, &b.delta, sizeof a.delta) &&
                          SameBits(&a.mouse, &b.mouse, sizeof a.mouse) && a.keys == b.keys &&
                          a.buttons == b.buttons,
                      "a frame differs once rewritten");
    }
    for (size_t i = 0; i < demo.inputs.size(); ++i) {
        Fuzz::Require(
            demo.inputs[i].code == again.inputs[i].code && demo.inputs[i].state == again.inputs[i].state,
            "an entry differs once rewritten");
    }
    if (demo.ended) {
        Fuzz::Require(SameBits(&again.endPosition, &demo.endPosition, sizeof demo.endPosition),
                      "end differs");
    }
}

void FuzzRecords(const std::string& folder, const uint8_t* data, size_t size) {
    const std::string path = folder + "/records.tml";
    const std::string aside = path + ".damaged";
    WriteFile(path, data, size);
    std::string message;
    const Application::RunRecords records = Application::RunRecords::Load(path, message);
    if (!message.empty()) {
        Fuzz::Require(message.find('\n') == std::string::npos, "message of more than one line");
        Fuzz::Require(message.find("set aside as " + aside + ",") != std::string::npos, "not set aside");
        Fuzz::Require(records.Count() == 0, "records kept from a damaged file");
        Fuzz::Require(ReadFile(aside) == std::string(reinterpret_cast<const char*>(data), size),
                      "the set-aside file differs from the damaged one");
        Fuzz::Require(access(path.c_str(), F_OK) != 0, "the damaged file is still in place");
        return;
    }
    // What was read saves to a file that reads back without a message and with the same bests.
    const std::string copy = folder + "/copy.tml";
    std::string error;
    Fuzz::Require(records.Save(copy, error), "records that read cannot be saved");
    const Application::RunRecords again = Application::RunRecords::Load(copy, message);
    Fuzz::Require(message.empty() && again.Count() == records.Count(), "saved records read back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > Fuzz::kMaxInput) return 0;
    const uint8_t pick = data[0] % 3;
    const Scratch scratch;
    if (pick != 1) FuzzDemo(scratch.Folder(), data + 1, size - 1);
    if (pick != 0) FuzzRecords(scratch.Folder(), data + 1, size - 1);
    return 0;
}
