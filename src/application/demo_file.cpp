#include "application/demo_file.h"

#include "application/control_state.h"
#include "common/quote.h"
#include "common/strict_number.h"
#include "common/whole_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <stdexcept>
#include <string_view>

namespace Application {

namespace {

using Common::Quote;
namespace Number = Common::StrictNumber;

constexpr const char* kComment =
    "# A stagewalk demo: the input of every frame, replayed as it was played. Each f line is one frame:\n"
    "# the seconds it lasted, the mouse movement (x y), then the keys (k) and mouse buttons (b) that\n"
    "# were not up, as code=state (1 held, 2 pressed, 3 released). The end line: the number of frames\n"
    "# and the player's feet (x y z) when the recording stopped.\n";

// The header's lines, in the order the writer writes them.
enum HeaderLine { Version, Room, Sensitivity, Invert, HeaderLines };
constexpr const char* kHeaderWords[HeaderLines] = {"version", "room", "sensitivity", "invert"};

// A header value runs to the end of its line: no line break or space may stand in it.
bool OneWord(const std::string& value) { return value.find_first_of(" \t\r\n") == std::string::npos; }

// Appends to a fixed buffer; once something does not fit, everything after it is dropped and
// Size() is 0, so a line is written whole or not at all.
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
    template <typename Value>
    void Put(Value value) {
        if (at) at = Number::Write(at, end, value);
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

}  // namespace

void Demo::Fill(size_t index, std::vector<int>& keyStates, std::vector<int>& buttonStates) const {
    std::fill(keyStates.begin(), keyStates.end(), ControlState::Up);
    std::fill(buttonStates.begin(), buttonStates.end(), ControlState::Up);
    const DemoFrame& frame = frames[index];
    const DemoInput* input = inputs.data() + frame.first;
    for (int i = 0; i < frame.keys; ++i, ++input) keyStates[input->code] = input->state;
    for (int i = 0; i < frame.buttons; ++i, ++input) buttonStates[input->code] = input->state;
}

void DemoWriter::Put(const char* text, size_t size) {
    if (size == 0) overlong = true;
    if (!overlong) file.Write(text, size);
}

bool DemoWriter::Open(const std::string& path, const DemoHeader& header, std::string& error) {
    frameCount = 0;
    overlong = false;
    if (!OneWord(header.version) || !OneWord(header.room)) {
        error =
            "Demo " + path + ": the version or room holds a space or line break, which a demo cannot hold";
        return false;
    }
    if (!(header.sensitivity > 0.0f) || !std::isfinite(header.sensitivity)) {
        error = "Demo " + path + ": the sensitivity is not a positive number";
        return false;
    }
    LineBuilder sensitivity(line, sizeof line);
    sensitivity.Put(header.sensitivity);
    const std::string text = std::string(kDemoFormat) + "\n" + kComment + "version " + header.version +
                             "\nroom " + header.room + "\nsensitivity " +
                             std::string(line, sensitivity.Size()) + "\ninvert " +
                             (header.invert ? "true" : "false") + "\n";
    if (file.Open(path) && file.Write(text)) return true;
    error = "Demo " + path + ": " + file.Error();
    file.Abandon();
    return false;
}

void DemoWriter::WriteFrame(double delta, glm::vec2 mouse, const int* keyStates, int keyCount,
                            const int* buttonStates, int buttonCount) {
    if (!file.IsOpen() || file.Failed()) return;
    LineBuilder builder(line, sizeof line);
    builder.Text("f ");
    builder.Put(delta);
    builder.Text(" ");
    builder.Put(mouse.x);
    builder.Text(" ");
    builder.Put(mouse.y);
    PutStates(builder, " k", keyStates, keyCount, ControlState::KeyCount);
    PutStates(builder, " b", buttonStates, buttonCount, ControlState::ButtonCount);
    builder.Text("\n");
    Put(line, builder.Size());
    if (!overlong && !file.Failed()) ++frameCount;
}

bool DemoWriter::Close(glm::vec3 playerFeet, std::string& error) {
    if (file.IsOpen()) {
        LineBuilder builder(line, sizeof line);
        builder.Text("end ");
        builder.Put(frameCount);
        for (int axis = 0; axis < 3; ++axis) {
            builder.Text(" ");
            builder.Put(playerFeet[axis]);
        }
        builder.Text("\n");
        Put(line, builder.Size());
    }
    if (!overlong && file.Commit()) return true;
    error =
        "Demo not saved: " + file.Path() + ": " + (overlong ? "a frame did not fit its line" : file.Error());
    file.Abandon();
    return false;
}

namespace {

// Why a file is refused; the reader stops at the first reason.
struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Damaged(size_t line, const std::string& what) {
    throw Refusal("damaged (line " + std::to_string(line) + ": " + what + ")");
}

// The next space-separated field of `text` from `at`, or an empty view at the end.
std::string_view NextField(std::string_view text, size_t& at) {
    while (at < text.size() && text[at] == ' ') ++at;
    const size_t start = at;
    while (at < text.size() && text[at] != ' ') ++at;
    return text.substr(start, at - start);
}

template <typename Value>
Value Field(std::string_view text, size_t& at, size_t line, const char* what) {
    const std::string_view field = NextField(text, at);
    Value value{};
    const bool read = std::is_floating_point_v<Value> ? Number::ParseFinite(field, value)
                                                      : Number::ParseWhole(field, value);
    if (!read) Damaged(line, "bad number " + Quote(field) + " for " + what);
    return value;
}

// Reads one frame line after its "f": the time, the mouse, then the keys and buttons.
void ReadFrame(std::string_view text, size_t at, size_t line, Demo& demo) {
    if (demo.frames.size() >= DemoLimits::MaxFrames) {
        throw Refusal("has more than " + std::to_string(DemoLimits::MaxFrames) + " frames");
    }
    DemoFrame frame;
    frame.delta = Field<double>(text, at, line, "the frame's time");
    if (!(frame.delta > 0.0)) Damaged(line, "the frame's time is not above 0");
    frame.mouse.x = Field<float>(text, at, line, "the mouse movement");
    frame.mouse.y = Field<float>(text, at, line, "the mouse movement");
    frame.first = static_cast<uint32_t>(demo.inputs.size());
    int last[2] = {-1, -1};  // the last code listed of keys and of buttons
    for (std::string_view field = NextField(text, at); !field.empty(); field = NextField(text, at)) {
        const bool key = field[0] == 'k';
        const size_t equals = field.find('=');
        int code = -1;
        int state = 0;
        if ((!key && field[0] != 'b') || equals == std::string_view::npos ||
            !Number::ParseWhole(field.substr(1, equals - 1), code) ||
            !Number::ParseWhole(field.substr(equals + 1), state)) {
            Damaged(line, "bad entry " + Quote(field) + " (a key kCODE=STATE or a button bCODE=STATE)");
        }
        const int tableSize = key ? ControlState::KeyCount : ControlState::ButtonCount;
        // Keys before buttons, each in ascending code: as written, so nothing is listed twice.
        if (code <= last[key ? 0 : 1] || code >= tableSize || (key && frame.buttons > 0) ||
            state < ControlState::Held || state > ControlState::Released) {
            Damaged(line, "entry " + Quote(field) + " is out of order or of range (codes 0.." +
                              std::to_string(tableSize - 1) + " ascending, keys first; states 1..3)");
        }
        last[key ? 0 : 1] = code;
        demo.inputs.push_back(DemoInput{static_cast<uint16_t>(code), static_cast<uint8_t>(state)});
        ++(key ? frame.keys : frame.buttons);
    }
    demo.frames.push_back(frame);
}

void ReadEnd(std::string_view text, size_t at, size_t line, Demo& demo) {
    const uint64_t frames = Field<uint64_t>(text, at, line, "the frame count");
    if (frames != demo.frames.size()) {
        Damaged(line, "the end counts " + std::to_string(frames) + " frames, the file holds " +
                          std::to_string(demo.frames.size()));
    }
    for (int axis = 0; axis < 3; ++axis) demo.endPosition[axis] = Field<float>(text, at, line, "the player");
    if (!NextField(text, at).empty()) Damaged(line, "more than three numbers for the player");
    demo.ended = true;
}

std::string Named(const std::string& value) { return value.empty() ? "(none)" : Quote(value); }

// The header's values: the look settings, then whether this game replays the demo at all.
void ReadHeader(const std::string (&values)[HeaderLines], size_t line, const std::string& expectedVersion,
                const std::vector<std::string>& expectedRooms, DemoHeader& header) {
    header.version = values[Version];
    header.room = values[Room];
    if (!Number::ParseFinite(std::string_view(values[Sensitivity]), header.sensitivity) ||
        !(header.sensitivity > 0.0f)) {
        Damaged(line, "the sensitivity " + Quote(values[Sensitivity]) + " is not a positive number");
    }
    if (values[Invert] != "true" && values[Invert] != "false") {
        Damaged(line, "invert is " + Quote(values[Invert]) + ", not true or false");
    }
    header.invert = values[Invert] == "true";
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

// The lines of a text that ends with a line break, one after another, with their numbers.
class Lines {
public:
    explicit Lines(std::string_view text) : text(text) {}
    // The next line; with `skipNotes`, the next that is neither empty nor a comment. False at the end.
    bool Next(std::string_view& line, bool skipNotes = true) {
        do {
            if (at >= text.size()) return false;
            const size_t stop = text.find('\n', at);
            line = text.substr(at, stop - at);
            at = stop + 1;
            ++number;
        } while (skipNotes && (line.empty() || line[0] == '#'));
        return true;
    }
    size_t Number() const { return number; }

private:
    std::string_view text;
    size_t at = 0;
    size_t number = 0;
};

void Read(const std::string& path, const std::string& expectedVersion,
          const std::vector<std::string>& expectedRooms, Demo& demo) {
    const Common::WholeFile file = Common::ReadWholeFile(path, DemoLimits::MaxBytes);
    if (file.status != Common::WholeFile::Status::Read) throw Refusal(file.reason);
    const std::string_view text = file.text;
    if (text.empty()) throw Refusal("is empty, not a demo");
    // Every line the writer writes ends with a line break, so a file that does not was cut while a
    // line was being written; a recording cut between lines still reads.
    if (text.back() != '\n') throw Refusal("is cut mid-line (its last line has no line break)");
    Lines lines(text);
    std::string_view line;
    lines.Next(line, false);
    if (line.rfind("@ tangly-ml-v-020", 0) == 0) {
        throw Refusal("is a demo of an older format, which this game does not replay (record it again)");
    }
    if (line != kDemoFormat)
        throw Refusal(std::string("not a demo (its first line is not '") + kDemoFormat + "')");
    std::string values[HeaderLines];
    for (int i = 0; i < HeaderLines; ++i) {
        const std::string word = std::string(kHeaderWords[i]) + " ";
        if (!lines.Next(line) || line.rfind(word, 0) != 0) {
            Damaged(lines.Number(), "the header's " + std::string(kHeaderWords[i]) + " line is missing");
        }
        values[i] = std::string(line.substr(word.size()));
    }
    ReadHeader(values, lines.Number(), expectedVersion, expectedRooms, demo.header);
    // Sized once: every frame takes a line and every key or button an '='.
    demo.frames.reserve(std::min<size_t>(std::count(text.begin(), text.end(), '\n'), DemoLimits::MaxFrames));
    demo.inputs.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '=')));
    while (lines.Next(line)) {
        if (demo.ended) Damaged(lines.Number(), "a line after the end");
        size_t at = 0;
        const std::string_view word = NextField(line, at);
        if (word == "f") {
            ReadFrame(line, at, lines.Number(), demo);
        } else if (word == "end") {
            ReadEnd(line, at, lines.Number(), demo);
        } else {
            Damaged(lines.Number(), "unknown line " + Quote(line));
        }
    }
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
