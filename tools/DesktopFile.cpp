#include "DesktopFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

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
                {"screen", "screens", "cursor", "clipboard", "files", "message_box_answers", "answers", "windows"});
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
