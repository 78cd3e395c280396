#include "DesktopFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "builtins/RegistryKeyText.h"
#include "container/Text.h"
#include "platform/sim/PictureCodec.h"

namespace ovrix {

namespace {

using Json = nlohmann::json;

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kTimeMax = std::numeric_limits<int64_t>::max();

// A fault in the description: where it is, and what was expected there.
// Thrown only inside this reader; the public functions answer it as text.
struct Fault {
    std::string place;
    std::string message;
};

[[noreturn]] void Expected(const std::string& place, std::string what) { throw Fault{place, "expected " + what}; }

std::string Member(const std::string& place, std::string_view key) {
    return place.empty() ? std::string(key) : place + "." + std::string(key);
}

std::string Element(const std::string& place, size_t index) { return place + "[" + std::to_string(index) + "]"; }

// Each kind of object names the keys it may hold; anything else is a typo.
using Keys = std::initializer_list<std::string_view>;

void CheckObject(const Json& value, const std::string& place, std::string_view what, Keys keys) {
    if (!value.is_object()) Expected(place.empty() ? "top level" : place, std::string(what));
    for (const auto& item : value.items()) {
        if (std::find(keys.begin(), keys.end(), item.key()) != keys.end()) continue;
        std::string list;
        for (std::string_view key : keys) list += (list.empty() ? "" : ", ") + std::string(key);
        throw Fault{Member(place, item.key()), "unknown key; expected one of " + list};
    }
}

const Json* Find(const Json& object, std::string_view key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

int64_t Integer(const Json& value, const std::string& place, std::string_view what, int64_t min, int64_t max) {
    // The library keeps integers above the largest signed one as unsigned;
    // no key takes one that large.
    std::optional<int64_t> number;
    if (value.is_number_unsigned()) {
        const uint64_t u = value.get<uint64_t>();
        if (u <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) number = static_cast<int64_t>(u);
    } else if (value.is_number_integer()) {
        number = value.get<int64_t>();
    }
    if (!number || *number < min || *number > max) {
        Expected(place, std::string(what) + ", an integer from " + std::to_string(min) + " to " + std::to_string(max));
    }
    return *number;
}

std::u16string Text(const Json& value, const std::string& place) {
    if (!value.is_string()) Expected(place, "a text");
    return FromUtf8(value.get<std::string>());
}

bool Flag(const Json& value, const std::string& place) {
    if (!value.is_boolean()) Expected(place, "true or false");
    return value.get<bool>();
}

void CheckArray(const Json& value, const std::string& place, std::string_view what, size_t size) {
    if (!value.is_array() || value.size() != size) Expected(place, std::string(what));
}

// Reads each element of a list with `read`(element, its place).
template <class Read>
void EachOf(const Json& value, const std::string& place, std::string_view what, Read&& read) {
    if (!value.is_array()) Expected(place, std::string(what));
    for (size_t i = 0; i < value.size(); ++i) read(value[i], Element(place, i));
}

// [left, top, width, height] in pixels; the right and bottom edges must
// still be pixels, so a width may reach only as far as the left edge allows.
ScreenRect Rect(const Json& value, const std::string& place) {
    CheckArray(value, place, "an array of 4 integers (left, top, width, height)", 4);
    const int64_t left = Integer(value[0], Element(place, 0), "a left edge", kInt32Min, kInt32Max);
    const int64_t top = Integer(value[1], Element(place, 1), "a top edge", kInt32Min, kInt32Max);
    const int64_t width = Integer(value[2], Element(place, 2), "a width", 0, std::min(kInt32Max, kInt32Max - left));
    const int64_t height = Integer(value[3], Element(place, 3), "a height", 0, std::min(kInt32Max, kInt32Max - top));
    return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + width),
            static_cast<int32_t>(top + height)};
}

// A control lives and dies with its top-level window, so it has no times
// and no process of its own.
SimWindowSpec Control(const Json& value, const std::string& place) {
    CheckObject(value, place, "an object (a control)", {"class", "id", "text", "rect", "visible", "controls"});
    SimWindowSpec control;
    if (const Json* v = Find(value, "class")) control.className = Text(*v, Member(place, "class"));
    if (const Json* v = Find(value, "id")) {
        control.controlId = static_cast<int32_t>(Integer(*v, Member(place, "id"), "a control id", kInt32Min, kInt32Max));
    }
    if (const Json* v = Find(value, "text")) control.title = Text(*v, Member(place, "text"));
    if (const Json* v = Find(value, "rect")) control.rect = Rect(*v, Member(place, "rect"));
    if (const Json* v = Find(value, "visible")) control.visible = Flag(*v, Member(place, "visible"));
    if (const Json* v = Find(value, "controls")) {
        EachOf(*v, Member(place, "controls"), "an array of controls",
               [&](const Json& item, const std::string& at) { control.controls.push_back(Control(item, at)); });
    }
    return control;
}

SimWindowSpec Window(const Json& value, const std::string& place) {
    CheckObject(value, place, "an object (a window)",
                {"title", "class", "rect", "visible", "minimized", "process", "appear_ms", "close_ms",
                 "closes_on_request", "controls"});
    SimWindowSpec window;
    if (const Json* v = Find(value, "title")) window.title = Text(*v, Member(place, "title"));
    if (const Json* v = Find(value, "class")) window.className = Text(*v, Member(place, "class"));
    if (const Json* v = Find(value, "rect")) window.rect = Rect(*v, Member(place, "rect"));
    if (const Json* v = Find(value, "visible")) window.visible = Flag(*v, Member(place, "visible"));
    if (const Json* v = Find(value, "minimized")) window.minimized = Flag(*v, Member(place, "minimized"));
    if (const Json* v = Find(value, "process")) window.process = Text(*v, Member(place, "process"));
    if (const Json* v = Find(value, "appear_ms")) {
        window.appearMs = static_cast<uint64_t>(Integer(*v, Member(place, "appear_ms"), "a time in ms", 0, kTimeMax));
    }
    // A window that closed before it appeared would never be seen: surely
    // not what the author meant.
    if (const Json* v = Find(value, "close_ms"); v != nullptr && !v->is_null()) {
        const int64_t earliest = static_cast<int64_t>(window.appearMs) + 1;
        window.closeMs = static_cast<uint64_t>(
            Integer(*v, Member(place, "close_ms"), "null or a time in ms after appear_ms", earliest, kTimeMax));
    }
    if (const Json* v = Find(value, "closes_on_request")) {
        window.closesOnRequest = Flag(*v, Member(place, "closes_on_request"));
    }
    if (const Json* v = Find(value, "controls")) {
        EachOf(*v, Member(place, "controls"), "an array of controls",
               [&](const Json& item, const std::string& at) { window.controls.push_back(Control(item, at)); });
    }
    return window;
}

// The message box buttons by the names a user knows them by.
constexpr std::pair<std::string_view, int32_t> kButtons[] = {
    {"ok", 1}, {"cancel", 2}, {"abort", 3}, {"retry", 4}, {"ignore", 5},
    {"yes", 6}, {"no", 7}, {"try_again", 10}, {"continue", 11},
};

int32_t Button(const Json& value, const std::string& place) {
    if (value.is_string()) {
        for (const auto& [name, id] : kButtons) {
            if (value.get<std::string>() == name) return id;
        }
    }
    std::string names;
    for (const auto& button : kButtons) names += (names.empty() ? "" : ", ") + std::string(button.first);
    Expected(place, "one of " + names);
}

// One answer to a dialog that asks: "ok" with the text typed or chosen, or
// with the input parameters' values by name; or "cancel", alone.
SimDialogAnswer DialogAnswerAt(const Json& value, const std::string& place) {
    CheckObject(value, place, "an object (an answer: button, text, values)", {"button", "text", "values"});
    const Json* button = Find(value, "button");
    if (button == nullptr) throw Fault{Member(place, "button"), "missing; expected ok or cancel"};
    SimDialogAnswer answer;
    const std::string at = Member(place, "button");
    if (!button->is_string() || (*button != "ok" && *button != "cancel")) Expected(at, "ok or cancel");
    answer.button = *button == "ok" ? DialogButton::Ok : DialogButton::Cancel;
    const Json* text = Find(value, "text");
    const Json* values = Find(value, "values");
    if (answer.button == DialogButton::Cancel && (text != nullptr || values != nullptr)) {
        throw Fault{Member(place, text != nullptr ? "text" : "values"), "a cancelled dialog takes nothing"};
    }
    if (text != nullptr && values != nullptr) throw Fault{Member(place, "values"), "an answer has a text or values, not both"};
    if (text != nullptr) answer.text = Text(*text, Member(place, "text"));
    if (values != nullptr) {
        const std::string where = Member(place, "values");
        if (!values->is_object()) Expected(where, "an object of parameter names and texts");
        for (const auto& item : values->items()) {
            answer.values.emplace_back(FromUtf8(item.key()), Text(item.value(), Member(where, item.key())));
        }
    }
    return answer;
}

// An image file named in the description, read at once so that a missing
// or broken file is reported before anything plays.
VBmp Picture(const Json& value, const std::string& place, std::string_view directory) {
    const std::u16string written = Text(value, place);
    std::filesystem::path path(written);
    if (path.is_relative() && !directory.empty()) path = std::filesystem::path(FromUtf8(directory)) / path;
    std::optional<VBmp> picture = written.empty() ? std::nullopt : DecodePictureFile(path.u16string());
    if (!picture) Expected(place, "an image file (PNG, BMP, JPEG or GIF) that can be read: \"" + ToUtf8(written) + "\"");
    return std::move(*picture);
}

// Without a size of its own the screen takes its picture's.
ScreenSize Screen(const Json& value, std::string_view directory, DesktopDescription& description) {
    CheckObject(value, "screen", "an object (width, height, image)", {"width", "height", "image"});
    ScreenSize screen = SimOptions{}.screen;
    if (const Json* v = Find(value, "image")) {
        VBmp picture = Picture(*v, "screen.image", directory);
        screen = {picture.width, picture.height};
        description.screenPictures.emplace_back(0, std::move(picture));
    }
    if (const Json* v = Find(value, "width")) {
        screen.width = static_cast<int32_t>(Integer(*v, "screen.width", "a width in pixels", 1, kInt32Max));
    }
    if (const Json* v = Find(value, "height")) {
        screen.height = static_cast<int32_t>(Integer(*v, "screen.height", "a height in pixels", 1, kInt32Max));
    }
    return screen;
}

// Later pictures of the screen, each from its time on: the times must rise,
// or a picture would never be seen.
void LaterScreens(const Json& value, std::string_view directory, DesktopDescription& description) {
    EachOf(value, "screens", "an array of screens (at_ms, image)", [&](const Json& item, const std::string& at) {
        CheckObject(item, at, "an object (a screen: at_ms, image)", {"at_ms", "image"});
        const Json* time = Find(item, "at_ms");
        const Json* image = Find(item, "image");
        if (time == nullptr) throw Fault{Member(at, "at_ms"), "missing; expected a time in ms"};
        if (image == nullptr) throw Fault{Member(at, "image"), "missing; expected an image file"};
        const int64_t earliest = description.screenPictures.empty()
                                     ? 0
                                     : static_cast<int64_t>(description.screenPictures.back().first) + 1;
        const uint64_t atMs = static_cast<uint64_t>(
            Integer(*time, Member(at, "at_ms"), "a time in ms after the screen before", earliest, kTimeMax));
        description.screenPictures.emplace_back(atMs, Picture(*image, Member(at, "image"), directory));
    });
}

// What the person does to a script-made window at a virtual time: a
// control's command or a message. Times must not fall, so that events are
// delivered in the order written.
void WindowEvents(const Json& value, DesktopDescription& description) {
    EachOf(value, "events", "an array of events (at_ms, window, command or message)",
           [&](const Json& item, const std::string& at) {
        CheckObject(item, at, "an object (an event: at_ms, window, command or message)",
                    {"at_ms", "window", "command", "message"});
        const Json* time = Find(item, "at_ms");
        const Json* window = Find(item, "window");
        const Json* command = Find(item, "command");
        const Json* message = Find(item, "message");
        if (time == nullptr) throw Fault{Member(at, "at_ms"), "missing; expected a time in ms"};
        if (window == nullptr) throw Fault{Member(at, "window"), "missing; expected a window title"};
        if ((command == nullptr) == (message == nullptr)) {
            throw Fault{at, "expected either a command or a message"};
        }
        SimWindowEvent event;
        const int64_t earliest = description.events.empty() ? 0 : static_cast<int64_t>(description.events.back().atMs);
        event.atMs = static_cast<uint64_t>(
            Integer(*time, Member(at, "at_ms"), "a time in ms, not before the event before", earliest, kTimeMax));
        event.window = Text(*window, Member(at, "window"));
        if (command != nullptr) {
            event.command = static_cast<int32_t>(Integer(*command, Member(at, "command"), "a control id", 0, 0xFFFF));
        } else {
            event.message = static_cast<uint32_t>(Integer(*message, Member(at, "message"), "a message number", 0, 0xFFFFFFFF));
        }
        description.events.push_back(std::move(event));
    });
}

// A registry value: a text is a REG_SZ; an object of one key gives the
// type: {"dword": N}, {"qword": N}, {"expand": TEXT}, {"hex": "01AB"}.
RegistryValue RegistryValueAt(const Json& value, const std::string& place) {
    if (value.is_string()) return RegistryValue::FromText(regtype::kString, Text(value, place));
    const std::string what = "a text or an object with one of dword, qword, expand, hex";
    if (!value.is_object() || value.size() != 1) Expected(place, what);
    CheckObject(value, place, what, {"dword", "qword", "expand", "hex"});
    const std::string type = value.begin().key();
    const Json& inner = value.begin().value();
    const std::string at = Member(place, type);
    if (type == "expand") return RegistryValue::FromText(regtype::kExpandString, Text(inner, at));
    if (type == "dword") return RegistryValue::FromDword(static_cast<uint32_t>(Integer(inner, at, "a number", 0, 0xFFFFFFFF)));
    if (type == "qword") {
        const auto number = static_cast<uint64_t>(Integer(inner, at, "a number", 0, std::numeric_limits<int64_t>::max()));
        RegistryValue qword{regtype::kQword, {}};
        for (int shift = 0; shift < 64; shift += 8) qword.bytes.push_back(static_cast<uint8_t>(number >> shift));
        return qword;
    }
    if (!inner.is_string()) Expected(at, "hex digits");
    const std::string digits = inner.get<std::string>();
    RegistryValue binary{regtype::kBinary, {}};
    for (size_t i = 0; i < digits.size(); i += 2) {
        const std::string pair = digits.substr(i, 2);
        if (pair.size() != 2 || pair.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            Expected(at, "hex digits, two for each byte");
        }
        binary.bytes.push_back(static_cast<uint8_t>(std::stoi(pair, nullptr, 16)));
    }
    return binary;
}

void RegistryKeys(const Json& value, DesktopDescription& description) {
    if (!value.is_object()) Expected("registry", "an object of keys");
    for (const auto& [name, values] : value.items()) {
        const std::string at = Member("registry", name);
        std::optional<RegistryKey> key = ParseRegistryKey(FromUtf8(name));
        if (!key) throw Fault{at, "expected a key such as HKEY_CURRENT_USER\\Software\\Name"};
        if (!values.is_object()) Expected(at, "an object of values");
        SimRegistryKey entry{std::move(*key), {}};
        for (const auto& [valueName, item] : values.items()) {
            entry.values.emplace_back(FromUtf8(valueName), RegistryValueAt(item, Member(at, valueName)));
        }
        description.registry.push_back(std::move(entry));
    }
}

void WebPages(const Json& value, DesktopDescription& description) {
    if (!value.is_object()) Expected("web", "an object of addresses and page texts");
    for (const auto& [url, body] : value.items()) {
        if (!body.is_string()) Expected(Member("web", url), "a page text");
        description.webPages[FromUtf8(url)] = body.get<std::string>();
    }
}

std::vector<uint8_t> HexBytes(const Json& value, const std::string& place) {
    const std::string hex = value.is_string() ? value.get<std::string>() : std::string("?");
    const auto digit = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    if (hex.size() % 2 != 0 || !std::all_of(hex.begin(), hex.end(), digit)) {
        Expected(place, "a text of hexadecimal digit pairs");
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// A running process, or a program that starting a file of its name makes.
SimProcessSpec ProcessAt(const Json& value, const std::string& place) {
    CheckObject(value, place, "an object (a process)", {"name", "pid", "modules", "memory", "exits_after_ms"});
    SimProcessSpec process;
    const Json* name = Find(value, "name");
    if (name == nullptr) Expected(Member(place, "name"), "the executable's file name");
    process.name = Text(*name, Member(place, "name"));
    if (const Json* v = Find(value, "pid")) {
        process.pid = static_cast<uint32_t>(Integer(*v, Member(place, "pid"), "a process id", 1, 0xFFFFFFFF));
    }
    if (const Json* v = Find(value, "modules")) {
        EachOf(*v, Member(place, "modules"), "an array of modules", [&](const Json& item, const std::string& at) {
            CheckObject(item, at, "an object (a module)", {"name", "base"});
            ProcessModule module;
            if (const Json* n = Find(item, "name")) module.name = Text(*n, Member(at, "name"));
            if (const Json* b = Find(item, "base")) module.base = static_cast<uint64_t>(Integer(*b, Member(at, "base"), "an address", 0, kTimeMax));
            process.modules.push_back(module);
        });
    }
    if (const Json* v = Find(value, "memory")) {
        EachOf(*v, Member(place, "memory"), "an array of memory regions", [&](const Json& item, const std::string& at) {
            CheckObject(item, at, "an object (a memory region)", {"address", "hex"});
            SimMemoryRegion region;
            if (const Json* a = Find(item, "address")) region.address = static_cast<uint64_t>(Integer(*a, Member(at, "address"), "an address", 0, kTimeMax));
            if (const Json* h = Find(item, "hex")) region.bytes = HexBytes(*h, Member(at, "hex"));
            process.memory.push_back(std::move(region));
        });
    }
    if (const Json* v = Find(value, "exits_after_ms"); v != nullptr && !v->is_null()) {
        process.exitsAfterMs = static_cast<uint64_t>(Integer(*v, Member(place, "exits_after_ms"), "a time in ms", 0, kTimeMax));
    }
    return process;
}

void ProcessesPart(const Json& root, DesktopDescription& description) {
    const auto each = [&](const char* key, std::vector<SimProcessSpec>& into) {
        if (const Json* v = Find(root, key)) {
            EachOf(*v, key, "an array of processes",
                   [&](const Json& item, const std::string& at) { into.push_back(ProcessAt(item, at)); });
        }
    };
    each("processes", description.processes);
    each("programs", description.programs);
    if (const Json* v = Find(root, "environment")) {
        if (!v->is_object()) Expected("environment", "an object of names and values");
        for (const auto& item : v->items()) {
            description.environment[FromUtf8(item.key())] = Text(item.value(), Member("environment", item.key()));
        }
    }
}

// A text names the folder the simulated disk lives in (relative to the
// description's folder); an array lists files that exist, empty, on a fresh
// disk of its own.
void Files(const Json& value, std::string_view directory, DesktopDescription& description) {
    if (value.is_string()) {
        std::filesystem::path folder(Text(value, "files"));
        if (folder.is_relative() && !directory.empty()) folder = std::filesystem::path(FromUtf8(directory)) / folder;
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec)) Expected("files", "a folder that exists");
        description.filesFolder = folder;
        return;
    }
    EachOf(value, "files", "a folder or an array of paths",
           [&](const Json& item, const std::string& at) { description.files.insert(Text(item, at)); });
}

DesktopDescription Description(const Json& root, std::string_view directory) {
    CheckObject(root, "", "an object",
                {"screen", "screens", "cursor", "clipboard", "files", "message_box_answers", "answers", "windows",
                 "events", "registry", "web", "processes", "programs", "environment"});
    DesktopDescription description;
    if (const Json* v = Find(root, "screen")) description.screen = Screen(*v, directory, description);
    if (const Json* v = Find(root, "screens")) LaterScreens(*v, directory, description);
    if (const Json* v = Find(root, "cursor")) {
        CheckArray(*v, "cursor", "an array of 2 integers (x, y)", 2);
        description.cursor.x = static_cast<int32_t>(Integer((*v)[0], "cursor[0]", "an x", kInt32Min, kInt32Max));
        description.cursor.y = static_cast<int32_t>(Integer((*v)[1], "cursor[1]", "a y", kInt32Min, kInt32Max));
    }
    if (const Json* v = Find(root, "clipboard")) description.clipboard = Text(*v, "clipboard");
    if (const Json* v = Find(root, "files")) Files(*v, directory, description);
    if (const Json* v = Find(root, "message_box_answers")) {
        EachOf(*v, "message_box_answers", "an array of button names", [&](const Json& item, const std::string& at) {
            description.messageBoxAnswers.push_back(Button(item, at));
        });
    }
    if (const Json* v = Find(root, "answers")) {
        EachOf(*v, "answers", "an array of answers", [&](const Json& item, const std::string& at) {
            description.dialogAnswers.push_back(DialogAnswerAt(item, at));
        });
    }
    if (const Json* v = Find(root, "windows")) {
        EachOf(*v, "windows", "an array of windows",
               [&](const Json& item, const std::string& at) { description.windows.push_back(Window(item, at)); });
    }
    if (const Json* v = Find(root, "events")) WindowEvents(*v, description);
    if (const Json* v = Find(root, "registry")) RegistryKeys(*v, description);
    if (const Json* v = Find(root, "web")) WebPages(*v, description);
    ProcessesPart(root, description);
    return description;
}

// The JSON library keeps the last of two equal keys without a word, which
// would hide a pasted-twice window property; this watches the parse and
// refuses the second. It follows the path as the parse goes, to say where.
class DuplicateKeyWatch {
public:
    bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed) {
        switch (event) {
            case Json::parse_event_t::object_start: open_.push_back({false, 0, {}, {}}); break;
            case Json::parse_event_t::array_start: open_.push_back({true, 0, {}, {}}); break;
            case Json::parse_event_t::key: {
                Level& level = open_.back();
                level.key = parsed.get<std::string>();
                if (!level.keys.insert(level.key).second) throw Fault{Path(), "duplicate key"};
                break;
            }
            case Json::parse_event_t::object_end:
            case Json::parse_event_t::array_end:
                open_.pop_back();
                Completed();
                break;
            case Json::parse_event_t::value: Completed(); break;
        }
        return true;
    }

private:
    struct Level {
        bool array;
        size_t count;  // an array's elements so far
        std::string key;  // an object's current key
        std::set<std::string> keys;
    };

    void Completed() {
        if (!open_.empty() && open_.back().array) ++open_.back().count;
    }

    std::string Path() const {
        std::string path;
        for (const Level& level : open_) path = level.array ? Element(path, level.count) : Member(path, level.key);
        return path;
    }

    std::vector<Level> open_;
};

// The library's own account of a syntax error, without its error code:
// "line 3, column 5: syntax error while parsing ...; expected ...".
std::string SyntaxError(const Json::exception& e) {
    std::string what = e.what();
    const size_t code = what.find("] ");
    if (code != std::string::npos) what.erase(0, code + 2);
    const std::string lead = "parse error at ";
    if (what.rfind(lead, 0) == 0) what.erase(0, lead.size());
    return what;
}

}  // namespace

void DesktopDescription::ApplyTo(SimOptions& options) const {
    if (screen) options.screen = *screen;
}

void DesktopDescription::ApplyTo(SimPlatform& sim) const {
    sim.screenPictures = screenPictures;
    sim.PlaceCursor(cursor.x, cursor.y);
    if (!clipboard.empty()) sim.PutOnClipboard(clipboard);
    if (filesFolder) sim.files.UseFolder(*filesFolder);
    for (const std::u16string& path : files) sim.files.AddFile(path);
    sim.messageBoxAnswers.insert(sim.messageBoxAnswers.end(), messageBoxAnswers.begin(), messageBoxAnswers.end());
    sim.dialogAnswers.insert(sim.dialogAnswers.end(), dialogAnswers.begin(), dialogAnswers.end());
    for (const SimWindowSpec& window : windows) sim.windows.Add(window);
    sim.scriptWindows.events.insert(sim.scriptWindows.events.end(), events.begin(), events.end());
    for (const SimRegistryKey& entry : registry) {
        sim.registry.AddKey(entry.key);
        for (const auto& [name, value] : entry.values) sim.registry.Put(entry.key, name, value);
    }
    for (const auto& [url, body] : webPages) sim.web.pages[url] = body;
    for (const SimProcessSpec& process : processes) sim.processes.Add(process);
    for (const SimProcessSpec& program : programs) sim.processes.AddProgram(program);
    for (const auto& [name, value] : environment) sim.processes.environment[name] = value;
}

std::optional<DesktopDescription> ParseDesktopDescription(std::string_view text, std::string_view name,
                                                          std::string& error, std::string_view directory) {
    const std::string prefix = std::string(name) + ": ";
    try {
        const Json root = Json::parse(text, DuplicateKeyWatch());
        return Description(root, directory);
    } catch (const Fault& fault) {
        error = prefix + fault.place + ": " + fault.message;
    } catch (const Json::exception& e) {
        error = prefix + SyntaxError(e);
    }
    return std::nullopt;
}

std::optional<DesktopDescription> ReadDesktopFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the file (" + std::strerror(errno) + ")";
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseDesktopDescription(text, path, error, std::filesystem::path(path).parent_path().string());
}

}  // namespace ovrix
