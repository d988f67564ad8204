#include "application/demo_file.h"

#include "application/control_state.h"
#include "common/strict_number.h"
#include "markup/document.h"
#include "markup/tml_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>

namespace Application {

namespace {

constexpr const char* kComment =
    "# A stagewalk demo: the input of every frame, replayed as it was played. Each f line is one frame:\n"
    "# the seconds it lasted, the mouse movement (x y), then the keys (k) and mouse buttons (b) that\n"
    "# were not up, as code=state (1 held, 2 pressed, 3 released).\n";

// The markup has no escapes: a value holding any of these would read back as something else.
bool Writable(const std::string& value) { return value.find_first_of("\";\n\t") == std::string::npos; }

// Appends to a fixed buffer; once something does not fit, everything after it is dropped and
// Size() is 0, so a frame is written whole or not at all.
class LineBuilder {
public:
    LineBuilder(char* begin, size_t capacity) : begin(begin), at(begin), end(begin + capacity) {}
    void Text(const char* text) {
        const size_t size = std::strlen(text);
        if (!at || static_cast<size_t>(end - at) < size) {
            at = nullptr;
            return;
        }
        std::memcpy(at, text, size);
        at += size;
    }
    template <typename Number>
    void Put(Number value) {
        if (at) at = Common::StrictNumber::Write(at, end, value);
    }
    size_t Size() const { return at ? static_cast<size_t>(at - begin) : 0; }

private:
    char* begin;
    char* at;
    char* end;
};

// The states of one table that are not Up, each as " k87=2".
void PutStates(LineBuilder& line, const char* prefix, const int* states, int count, int tableSize) {
    if (!states) return;
    const int listed = std::min(count, tableSize);
    for (int code = 0; code < listed; ++code) {
        if (states[code] == ControlState::Up) continue;
        line.Text(prefix);
        line.Put(code);
        line.Text("=");
        line.Put(states[code]);
    }
}

std::string Number(float value) {
    char text[32];
    const char* end = Common::StrictNumber::Write(text, text + sizeof text, value);
    return end ? std::string(text, static_cast<size_t>(end - text)) : std::string("0");
}

}  // namespace

DemoWriter::~DemoWriter() {
    if (file) std::fclose(file);
}

bool DemoWriter::Put(const char* text, size_t size) {
    if (std::fwrite(text, 1, size, file) == size && std::fflush(file) == 0) return true;
    failed = true;
    return false;
}

bool DemoWriter::Open(const std::string& path, const DemoHeader& header, std::string& error) {
    if (file) std::fclose(file);
    file = nullptr;
    frameCount = 0;
    failed = false;
    if (!Writable(header.version) || !Writable(header.room)) {
        error = "Demo " + path +
                ": the version or room holds a quote, ';', tab or line break, which a demo cannot hold";
        return false;
    }
    if (!(header.sensitivity > 0.0f) || !std::isfinite(header.sensitivity)) {
        error =
            "Demo " + path + ": the sensitivity " + Number(header.sensitivity) + " is not a positive number";
        return false;
    }
    const std::string text = std::string("@ ") + Tml::kVersion + "\n" + kComment + "{ demo\n! version \"" +
                             header.version + "\"\n! room \"" + header.room + "\"\n! sensitivity " +
                             Number(header.sensitivity) + "\n! invert " + (header.invert ? "true" : "false") +
                             "\n}\n{ frames\n";
    file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "Demo " + path + ": cannot be created (" + std::strerror(errno) + ")";
        return false;
    }
    if (!Put(text.data(), text.size())) {
        error = "Demo " + path + ": cannot be written (" + std::strerror(errno) + ")";
        std::fclose(file);
        file = nullptr;
        return false;
    }
    return true;
}

void DemoWriter::WriteFrame(double delta, glm::vec2 mouse, const int* keyStates, int keyCount,
                            const int* buttonStates, int buttonCount) {
    if (!file || failed) return;
    LineBuilder builder(line, sizeof line);
    builder.Text("! f \"");
    builder.Put(delta);
    builder.Text(" ");
    builder.Put(mouse.x);
    builder.Text(" ");
    builder.Put(mouse.y);
    PutStates(builder, " k", keyStates, keyCount, ControlState::KeyCount);
    PutStates(builder, " b", buttonStates, buttonCount, ControlState::ButtonCount);
    builder.Text("\"\n");
    if (builder.Size() > 0 && Put(line, builder.Size())) ++frameCount;
}

void DemoWriter::Close(glm::vec3 playerFeet) {
    if (!file) return;
    if (!failed) {
        LineBuilder builder(line, sizeof line);
        builder.Text("}\n{ end\n! frames ");
        builder.Put(frameCount);
        builder.Text("\n! player \"");
        builder.Put(playerFeet.x);
        builder.Text(" ");
        builder.Put(playerFeet.y);
        builder.Text(" ");
        builder.Put(playerFeet.z);
        builder.Text("\"\n}\n");
        // One write for the whole end node: a crash leaves all of it or a cut line, never a node
        // that reads as whole with part of it missing.
        if (builder.Size() > 0) Put(line, builder.Size());
    }
    std::fclose(file);
    file = nullptr;
}

namespace {

// Why a file is refused; the reader stops at the first reason.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A piece of the file quoted in a message: control bytes shown as '?' so the message stays one
// line, and long pieces shortened.
std::string Quoted(std::string_view text) {
    constexpr size_t kLongest = 40;
    std::string quoted = "'";
    for (size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        quoted += (c < 0x20 || c == 0x7f) ? '?' : static_cast<char>(c);
    }
    if (text.size() > kLongest) quoted += "...";
    return quoted + "'";
}

[[noreturn]] void Damaged(int line, const std::string& what) {
    throw Refusal("damaged (line " + std::to_string(line) + ": " + what + ")");
}

// The next space-separated field of `text` from `at`, or an empty view at the end.
std::string_view NextField(std::string_view text, size_t& at) {
    while (at < text.size() && text[at] == ' ') ++at;
    const size_t start = at;
    while (at < text.size() && text[at] != ' ') ++at;
    return text.substr(start, at - start);
}

void ReadWholeFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw Refusal(std::string("cannot be opened (") + std::strerror(errno) + ")");
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, std::fclose);
    struct stat status {};
    if (fstat(fileno(file), &status) == 0 && status.st_size > DemoLimits::MaxBytes) {
        throw Refusal("is " + std::to_string(status.st_size) + " bytes, more than a demo may have (" +
                      std::to_string(DemoLimits::MaxBytes) + ")");
    }
    char chunk[1 << 16];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        // Checked as it grows too: the size seen above may not be the size read (a pipe, say).
        if (text.size() + got > static_cast<size_t>(DemoLimits::MaxBytes)) {
            throw Refusal("is more than " + std::to_string(DemoLimits::MaxBytes) +
                          " bytes, more than a demo may have");
        }
        text.append(chunk, got);
    }
    if (std::ferror(file)) throw Refusal(std::string("cannot be read (") + std::strerror(errno) + ")");
}

// One "(code, state)" list entry of a frame, such as "k87=2", into `list`.
void ReadState(std::string_view field, int tableSize, const char* what,
               std::vector<std::pair<int, int>>& list) {
    const size_t equals = field.find('=');
    int code = 0;
    int state = 0;
    if (equals == std::string_view::npos || !Common::StrictNumber::ParseWhole(field.substr(1, equals - 1), code) ||
        !Common::StrictNumber::ParseWhole(field.substr(equals + 1), state)) {
        throw Refusal("bad " + std::string(what) + " entry " + Quoted(field) + " (code=state)");
    }
    if (code < 0 || code >= tableSize) {
        throw Refusal(std::string(what) + " code " + std::to_string(code) + " out of 0.." +
                      std::to_string(tableSize - 1));
    }
    if (state < ControlState::Held || state > ControlState::Released) {
        throw Refusal("state " + std::to_string(state) + " of " + what + " " + std::to_string(code) +
                      " out of 1..3");
    }
    if (!list.empty() && list.back().first >= code) {
        throw Refusal(std::string(what) + " " + std::to_string(code) + " listed twice or out of order");
    }
    list.emplace_back(code, state);
}

DemoFrame ReadFrame(std::string_view text) {
    DemoFrame frame;
    size_t at = 0;
    const std::string_view delta = NextField(text, at);
    if (!Common::StrictNumber::ParseFinite(delta, frame.delta) || !(frame.delta > 0.0)) {
        throw Refusal("bad number " + Quoted(delta) + " for the frame's time (seconds above 0)");
    }
    for (float* axis : {&frame.mouse.x, &frame.mouse.y}) {
        const std::string_view field = NextField(text, at);
        if (!Common::StrictNumber::ParseFinite(field, *axis)) {
            throw Refusal("bad number " + Quoted(field) + " for the mouse movement");
        }
    }
    for (std::string_view field = NextField(text, at); !field.empty(); field = NextField(text, at)) {
        if (field[0] == 'k') {
            ReadState(field, ControlState::KeyCount, "key", frame.keys);
        } else if (field[0] == 'b') {
            ReadState(field, ControlState::ButtonCount, "button", frame.buttons);
        } else {
            throw Refusal(Quoted(field) + " is neither a key (k) nor a mouse button (b)");
        }
    }
    return frame;
}

const Tml::Node* OnlyRoot(const Tml::Document& document, const char* name) {
    const Tml::Node* found = nullptr;
    for (const Tml::Node* node : document.RootNodes()) {
        if (node->Name() != name) continue;
        if (found) Damaged(node->Line(), std::string("a second ") + name + " node");
        found = node;
    }
    return found;
}

const Tml::Attribute* Find(const Tml::Node& node, const char* key) {
    const Tml::Attribute* found = nullptr;
    for (const Tml::Attribute& attribute : node.Attributes()) {
        if (attribute.key == key) found = &attribute;
    }
    if (!found) Damaged(node.Line(), std::string("the ") + node.Name() + " node has no " + key);
    return found;
}

std::string Named(const std::string& value) { return value.empty() ? "(none)" : Quoted(value); }

void ReadHeader(const Tml::Node& node, const std::string& expectedVersion,
                const std::vector<std::string>& expectedRooms, DemoHeader& header) {
    header.version = Find(node, "version")->value;
    header.room = Find(node, "room")->value;
    const Tml::Attribute* sensitivity = Find(node, "sensitivity");
    if (!Common::StrictNumber::ParseFinite(std::string_view(sensitivity->value), header.sensitivity) ||
        !(header.sensitivity > 0.0f)) {
        Damaged(sensitivity->line, "bad number " + Quoted(sensitivity->value) + " for the sensitivity");
    }
    const Tml::Attribute* invert = Find(node, "invert");
    if (invert->value != "true" && invert->value != "false") {
        Damaged(invert->line, "invert is " + Quoted(invert->value) + ", not true or false");
    }
    header.invert = invert->value == "true";
    if (header.version != expectedVersion) {
        throw Refusal("recorded with version " + Named(header.version) + ", this game is version " +
                      Named(expectedVersion));
    }
    if (std::find(expectedRooms.begin(), expectedRooms.end(), header.room) != expectedRooms.end()) return;
    if (expectedRooms.size() != 1) {
        throw Refusal("recorded in room " + Named(header.room) + ", which is none of this game's levels");
    }
    const std::string& expectedRoom = expectedRooms.front();
    throw Refusal("recorded in room " + Named(header.room) + ", this game's room is " +
                  (expectedRoom.empty() ? std::string("unknown (its room model cannot be read)")
                                        : Named(expectedRoom)));
}

void ReadFrames(const Tml::Node& node, std::vector<DemoFrame>& frames) {
    if (!node.Children().empty()) Damaged(node.Children().front()->Line(), "a node inside the frames");
    if (node.Attributes().size() > DemoLimits::MaxFrames) {
        throw Refusal("has more than " + std::to_string(DemoLimits::MaxFrames) + " frames");
    }
    frames.reserve(node.Attributes().size());
    for (const Tml::Attribute& attribute : node.Attributes()) {
        if (attribute.key != "f") Damaged(attribute.line, Quoted(attribute.key) + " is not a frame");
        try {
            frames.push_back(ReadFrame(attribute.value));
        } catch (const Refusal& refusal) {
            throw Refusal("damaged (frame " + std::to_string(frames.size() + 1) + ", line " +
                          std::to_string(attribute.line) + ": " + refusal.what() + ")");
        }
    }
}

void ReadEnd(const Tml::Node& node, Demo& demo) {
    const Tml::Attribute* count = Find(node, "frames");
    uint64_t frames = 0;
    if (!Common::StrictNumber::ParseWhole(std::string_view(count->value), frames)) {
        Damaged(count->line, "bad number " + Quoted(count->value) + " for the end's frame count");
    }
    if (frames != demo.frames.size()) {
        Damaged(count->line, "the end counts " + std::to_string(frames) + " frames, the file holds " +
                                 std::to_string(demo.frames.size()));
    }
    const Tml::Attribute* player = Find(node, "player");
    const std::string_view position(player->value);
    size_t at = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (!Common::StrictNumber::ParseFinite(NextField(position, at), demo.endPosition[axis])) {
            Damaged(player->line, "bad player position " + Quoted(position) + " (three numbers)");
        }
    }
    if (!NextField(position, at).empty()) {
        Damaged(player->line, "bad player position " + Quoted(position) + " (three numbers)");
    }
    demo.ended = true;
}

void Read(const std::string& path, const std::string& expectedVersion,
          const std::vector<std::string>& expectedRooms, Demo& demo) {
    std::string text;
    ReadWholeFile(path, text);
    if (text.empty()) throw Refusal("is empty, not a demo");
    // Every line the writer writes ends with a line break, so a file that does not was cut while
    // a line was being written; a recording cut between lines still reads.
    if (text.back() != '\n') throw Refusal("is cut mid-line (its last line has no line break)");
    // Bounds what the parsed document may hold before it is built.
    if (static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) > DemoLimits::MaxFrames + 64) {
        throw Refusal("has more lines than a demo of " + std::to_string(DemoLimits::MaxFrames) + " frames");
    }
    std::unique_ptr<Tml::Document> document;
    try {
        document.reset(Tml::ParseDocument(text, path));
    } catch (const std::runtime_error& error) {
        throw Refusal(std::string("not a demo (") + error.what() + ")");
    }
    text = std::string();
    const Tml::Node* header = OnlyRoot(*document, "demo");
    if (!header) throw Refusal("not a demo (no demo node)");
    ReadHeader(*header, expectedVersion, expectedRooms, demo.header);
    const Tml::Node* frames = OnlyRoot(*document, "frames");
    if (!frames) throw Refusal("not a demo (no frames node)");
    ReadFrames(*frames, demo.frames);
    if (const Tml::Node* end = OnlyRoot(*document, "end")) ReadEnd(*end, demo);
}

}  // namespace

bool ReadDemo(const std::string& path, const std::string& expectedVersion, const std::string& expectedRoom,
              Demo& demo, std::string& error) {
    return ReadDemo(path, expectedVersion, std::vector<std::string>{expectedRoom}, demo, error);
}

bool ReadDemo(const std::string& path, const std::string& expectedVersion,
              const std::vector<std::string>& expectedRooms, Demo& demo, std::string& error) {
    demo = Demo();
    try {
        Read(path, expectedVersion, expectedRooms, demo);
        return true;
    } catch (const Refusal& refusal) {
        error = "Demo " + path + ": " + refusal.what();
    } catch (const std::bad_alloc&) {
        error = "Demo " + path + ": out of memory while reading it";
    } catch (const std::exception& unexpected) {
        error = "Demo " + path + ": cannot be read (" + unexpected.what() + ")";
    }
    demo = Demo();
    return false;
}

}  // namespace Application
