// The desktop description file: what a file puts on the simulated desktop,
// and how a malformed one is refused (file, place, what was expected).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "DesktopFile.h"

namespace ovrix {
namespace {

// The desktop a description makes, as ovrix-sim makes it.
struct Described {
    explicit Described(const DesktopDescription& description) : sim(OptionsOf(description)) {
        description.ApplyTo(sim);
    }
    static SimOptions OptionsOf(const DesktopDescription& description) {
        SimOptions options;
        description.ApplyTo(options);
        return options;
    }
    SimPlatform sim;
};

DesktopDescription Parse(const std::string& text) {
    std::string error;
    auto description = ParseDesktopDescription(text, "desk.json", error);
    EXPECT_TRUE(description) << error;
    return description ? *description : DesktopDescription{};
}

std::string ErrorOf(const std::string& text) {
    std::string error;
    EXPECT_FALSE(ParseDesktopDescription(text, "desk.json", error)) << text;
    return error;
}

TEST(DesktopFile, AFullDescriptionBecomesTheSimulatedDesktop) {
    const DesktopDescription description = Parse(R"({
        "screen": {"width": 1280, "height": 1024},
        "cursor": [-5, 40],
        "clipboard": "copied — earlier",
        "files": ["C:\\data\\in.txt", "C:\\data\\out.txt"],
        "message_box_answers": ["yes", "no", "try_again"],
        "windows": [
          {"title": "Untitled - Notepad", "class": "Notepad", "rect": [100, 100, 800, 600],
           "visible": true, "minimized": false, "process": "notepad.exe",
           "appear_ms": 0, "close_ms": null, "closes_on_request": true,
           "controls": [{"class": "Edit", "id": 15, "text": "", "rect": [0, 0, 800, 560]}]},
          {"title": "Save As", "class": "#32770", "rect": [-10, 20, 400, 300], "minimized": true,
           "appear_ms": 1500, "close_ms": 4000, "closes_on_request": false,
           "controls": [{"class": "Group", "id": 7, "rect": [10, 10, 200, 100], "visible": false,
                         "controls": [{"class": "Button", "id": 1, "text": "&Save", "rect": [5, 5, 50, 20]}]}]},
          {"title": "Hidden helper", "visible": false}
        ]})");
    Described d(description);
    SimPlatform& sim = d.sim;
    SimWindows& windows = sim.windows;
    EXPECT_EQ(sim.GetScreenSize().width, 1280);
    EXPECT_EQ(sim.GetCursorPos().x, -5);
    EXPECT_EQ(sim.GetCursorPos().y, 40);
    EXPECT_EQ(sim.GetClipboardText(), u"copied \u2014 earlier");
    EXPECT_TRUE(sim.FileExists(u"C:\\data\\out.txt"));
    EXPECT_EQ(sim.messageBoxAnswers, (std::vector<int32_t>{6, 7, 10}));

    // Front to back in file order; the dialog is not there yet.
    std::vector<WindowId> top = windows.TopLevelWindows();
    ASSERT_EQ(top.size(), 2u);
    const WindowId notepad = top[0];
    EXPECT_EQ(windows.GetTitle(notepad), u"Untitled - Notepad");
    EXPECT_EQ(windows.GetClassName(notepad), u"Notepad");
    EXPECT_EQ(windows.ProcessName(notepad), u"notepad.exe");
    EXPECT_EQ(windows.GetWindowRect(notepad)->right, 900);
    EXPECT_EQ(windows.GetWindowRect(notepad)->bottom, 700);
    const WindowId edit = windows.ChildWindows(notepad).at(0);
    EXPECT_EQ(windows.GetClassName(edit), u"Edit");
    EXPECT_EQ(windows.Find(edit)->spec.controlId, 15);
    EXPECT_EQ(windows.GetWindowRect(edit)->bottom, 660);  // inside its window
    EXPECT_FALSE(windows.IsVisible(top[1]));

    sim.Advance(1'500'000);
    top = windows.TopLevelWindows();
    ASSERT_EQ(top.size(), 3u);
    const WindowId dialog = top[1];
    EXPECT_TRUE(windows.IsMinimized(dialog));
    EXPECT_EQ(windows.GetWindowRect(dialog)->left, -10);
    const WindowId group = windows.ChildWindows(dialog).at(0);
    EXPECT_FALSE(windows.IsVisible(group));
    const WindowId save = windows.ChildWindows(group).at(0);
    EXPECT_EQ(windows.GetControlText(save), u"&Save");
    EXPECT_EQ(windows.GetWindowRect(save)->left, -10 + 10 + 5);

    // The dialog ignores a close request and goes at its own time; Notepad
    // goes when asked.
    windows.PostClose(dialog);
    windows.PostClose(notepad);
    EXPECT_TRUE(windows.IsWindow(dialog));
    EXPECT_FALSE(windows.IsWindow(notepad));
    sim.Advance(2'500'000);
    EXPECT_FALSE(windows.IsWindow(dialog));
}

// A screen with only its height keeps the simulated desktop's width; a
// desktop without keys is the simulated desktop as it is.
TEST(DesktopFile, MissingKeysKeepTheSimulatedDesktopsOwn) {
    Described tall(Parse(R"({"screen": {"height": 2000}})"));
    EXPECT_EQ(tall.sim.GetScreenSize().width, 1920);
    EXPECT_EQ(tall.sim.GetScreenSize().height, 2000);
    Described plain(Parse("{}"));
    EXPECT_EQ(plain.sim.GetScreenSize().height, 1080);
    EXPECT_TRUE(plain.sim.windows.TopLevelWindows().empty());
}

TEST(DesktopFile, SyntaxErrorsNameTheLineAndColumn) {
    EXPECT_EQ(ErrorOf("{\n  \"screen\": {\"width\": 10,\n  }\n}"),
              "desk.json: line 3, column 3: syntax error while parsing object key - unexpected '}'; "
              "expected string literal");
    EXPECT_EQ(ErrorOf("").rfind("desk.json: line 1, column 1: ", 0), 0u);
    EXPECT_EQ(ErrorOf("{} {}").rfind("desk.json: line 1, column 4: ", 0), 0u);
    EXPECT_NE(ErrorOf("{\"clipboard\": \"\xff\"}").find("ill-formed UTF-8"), std::string::npos);
}

TEST(DesktopFile, ErrorsNameThePlaceAndWhatWasExpected) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        // The shape of things.
        {"[]", "top level: expected an object"},
        {R"({"windows": [{}, 3]})", "windows[1]: expected an object (a window)"},
        {R"({"windows": [{"title": 5}]})", "windows[0].title: expected a text"},
        {R"({"windows": [{"visible": 1}]})", "windows[0].visible: expected true or false"},
        // Typos and repeats.
        {R"({"window": []})",
         "window: unknown key; expected one of screen, screens, cursor, clipboard, files, message_box_answers, windows"},
        {R"({"windows": [{"controls": [{"title": "a"}]}]})",
         "windows[0].controls[0].title: unknown key; expected one of class, id, text, rect, visible, controls"},
        {R"({"windows": [{}, {"title": "a", "rect": [0, 0, 1, 1], "title": "b"}]})",
         "windows[1].title: duplicate key"},
        {R"({"message_box_answers": ["Yes"]})",
         "message_box_answers[0]: expected one of ok, cancel, abort, retry, ignore, yes, no, try_again, continue"},
        // Rectangles and numbers.
        {R"({"windows": [{}, {}, {"rect": [1, 2, 3]}]})",
         "windows[2].rect: expected an array of 4 integers (left, top, width, height)"},
        {R"({"windows": [{"rect": [0, 0, 10, -1]}]})",
         "windows[0].rect[3]: expected a height, an integer from 0 to 2147483647"},
        {R"({"windows": [{"rect": [2147483000, 0, 1000, 10]}]})",
         "windows[0].rect[2]: expected a width, an integer from 0 to 647"},
        {R"({"windows": [{"rect": [0, 0, 10.5, 10]}]})",
         "windows[0].rect[2]: expected a width, an integer from 0 to 2147483647"},
        {R"({"windows": [{"controls": [{"controls": [{"id": "7"}]}]}]})",
         "windows[0].controls[0].controls[0].id: expected a control id, an integer from -2147483648 to 2147483647"},
        {R"({"screen": {"width": 0}})", "screen.width: expected a width in pixels, an integer from 1 to 2147483647"},
        {R"({"windows": [{"appear_ms": 18446744073709551615}]})",
         "windows[0].appear_ms: expected a time in ms, an integer from 0 to 9223372036854775807"},
        // Closing when it appears: never there at all.
        {R"({"windows": [{"appear_ms": 500, "close_ms": 500}]})",
         "windows[0].close_ms: expected null or a time in ms after appear_ms, an integer from 501 to "
         "9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), std::string("desk.json: ") + c.error);
}

TEST(DesktopFile, ReadsAFileAndNamesItAsGiven) {
    const std::string path = ::testing::TempDir() + "ovrix-desk-test.json";
    std::ofstream(path) << R"({"cursor": [3, 4], "windows": [{"rect": [0, 0, 1]}]})";
    std::string error;
    EXPECT_FALSE(ReadDesktopFile(path, error));
    EXPECT_EQ(error, path + ": windows[0].rect: expected an array of 4 integers (left, top, width, height)");

    std::ofstream(path) << R"({"cursor": [3, 4]})";
    const auto description = ReadDesktopFile(path, error);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->cursor.y, 4);
    std::remove(path.c_str());

    EXPECT_FALSE(ReadDesktopFile(path, error));
    EXPECT_EQ(error.rfind(path + ": cannot open the file", 0), 0u);
}

}  // namespace
}  // namespace ovrix
