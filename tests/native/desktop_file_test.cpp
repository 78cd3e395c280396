// The desktop description file: what it puts on the simulated desktop, and
// how a malformed one is refused (file, place, what was expected).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "DesktopFile.h"
#include "platform/PictureEdit.h"
#include "platform/sim/PictureCodec.h"

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
        ],
        "events": [{"at_ms": 500, "window": "Form", "command": 1001}, {"at_ms": 500, "window": "Form", "message": 16}]})");
    Described d(description);
    SimPlatform& sim = d.sim;
    SimWindows& windows = sim.windows;
    EXPECT_EQ(sim.GetScreenSize().width, 1280);
    EXPECT_EQ(sim.GetCursorPos().x, -5);
    EXPECT_EQ(sim.GetCursorPos().y, 40);
    EXPECT_EQ(sim.GetClipboardText(), u"copied \u2014 earlier");
    EXPECT_TRUE(sim.files.FileExists(u"C:\\data\\out.txt"));
    EXPECT_EQ(sim.messageBoxAnswers, (std::vector<int32_t>{6, 7, 10}));
    ASSERT_EQ(sim.scriptWindows.events.size(), 2u);
    EXPECT_EQ(sim.scriptWindows.events[0].command, 1001);
    EXPECT_FALSE(sim.scriptWindows.events[0].message);
    EXPECT_EQ(sim.scriptWindows.events[1].message, 16u);
    EXPECT_EQ(sim.scriptWindows.events[1].window, u"Form");

    // Front to back in file order; the dialog is not there yet.
    std::vector<WindowId> top = windows.TopLevelWindows();
    ASSERT_EQ(top.size(), 2u);
    const WindowId notepad = top[0];
    EXPECT_EQ(windows.GetClassName(notepad), u"Notepad");
    EXPECT_EQ(windows.ProcessName(notepad), u"notepad.exe");
    EXPECT_EQ(windows.GetWindowRect(notepad)->right, 900);  // left + width
    EXPECT_EQ(windows.GetWindowRect(notepad)->bottom, 700);
    const WindowId edit = windows.ChildWindows(notepad).at(0);
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

// Running processes with their memory, a program that starting makes, and
// the environment a started file is expanded with.
TEST(DesktopFile, ProcessesProgramsAndTheEnvironment) {
    Described desk(Parse(R"({
      "processes": [{"name": "notepad.exe", "pid": 1200, "modules": [{"name": "notepad.exe", "base": 4194304}],
                     "memory": [{"address": 4198400, "hex": "2a00FF00"}], "exits_after_ms": 300}],
      "programs": [{"name": "tool.exe", "exits_after_ms": 50}],
      "environment": {"TOOLS": "D:\\bin"}})"));
    SimProcesses& processes = desk.sim.processes;
    EXPECT_EQ(processes.Peek(1200, 4198400, 4), (std::vector<uint8_t>{0x2A, 0, 0xFF, 0}));
    auto notepad = processes.Open(1200);
    ASSERT_NE(notepad, nullptr);
    EXPECT_EQ(processes.Modules(*notepad).at(0).base, 4194304u);
    EXPECT_EQ(processes.ExpandEnvironment(u"%tools%\\tool"), u"D:\\bin\\tool");
    const StartedProgram tool = processes.Start({u"D:\\bin\\TOOL", u"", 5, true});
    ASSERT_NE(tool.process, nullptr);
    EXPECT_FALSE(processes.WaitForExit(*tool.process, 49));
    EXPECT_TRUE(processes.WaitForExit(*tool.process, 1));
    desk.sim.Sleep(250);
    EXPECT_FALSE(processes.IsRunning(1200));
}

TEST(DesktopFile, AnswersQueueForTheDialogsThatAsk) {
    Described desk(Parse(R"({"answers": [{"button": "ok", "text": "Alice"}, {"button": "cancel"}, {"button": "ok"},
        {"button": "ok", "values": {"Name": "Al\u00e9", "Age": ""}}]})"));
    const auto& answers = desk.sim.dialogAnswers;
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0].button, DialogButton::Ok);
    EXPECT_EQ(answers[0].text, u"Alice");
    EXPECT_EQ(answers[1].button, DialogButton::Cancel);
    EXPECT_FALSE(answers[2].text || answers[3].text);
    EXPECT_TRUE(answers[2].values.empty());
    EXPECT_EQ(answers[3].values, (std::vector<std::pair<std::u16string, std::u16string>>{{u"Age", u""},
                                                                                        {u"Name", u"Al\u00e9"}}));
}

// A screen with only its height keeps the simulated desktop's width.
TEST(DesktopFile, RegistryValuesAndWebPagesReachTheSimulatedDesktop) {
    Described described(Parse(R"({
        "registry": {"HKEY_CURRENT_USER\\Software\\X": {"Name": "Alice", "Count": {"dword": 255},
                                                      "Big": {"qword": 4294967296}, "Blob": {"hex": "01aB"},
                                                      "Path": {"expand": "%TEMP%"}},
                     "HKEY_LOCAL_MACHINE\\Software\\Empty": {}},
        "web": {"http://example.com/": "<html>hi</html>"}
    })"));
    const RegistryKey key{0x80000001, u"CURRENT_USER", u"software\\x"};
    const auto read = [&](std::u16string_view name) {
        const std::optional<RegistryValue> value = described.sim.registry.ReadValue(key, name);
        return value ? value->type : 0u;
    };
    EXPECT_EQ(read(u"name"), regtype::kString);
    EXPECT_EQ(read(u"Count"), regtype::kDword);
    EXPECT_EQ(read(u"Big"), regtype::kQword);
    EXPECT_EQ(read(u"Path"), regtype::kExpandString);
    EXPECT_EQ(described.sim.registry.ReadValue(key, u"Blob")->bytes, (std::vector<uint8_t>{0x01, 0xAB}));
    EXPECT_TRUE(described.sim.registry.HasKey({0x80000002, u"LOCAL_MACHINE", u"Software\\Empty"}));
    EXPECT_TRUE(described.sim.registry.HasKey({0x80000001, u"CURRENT_USER", u"Software"}));
    EXPECT_EQ(described.sim.web.pages.at(u"http://example.com/"), "<html>hi</html>");
}

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
         "window: unknown key; expected one of screen, screens, cursor, clipboard, files, message_box_answers, answers, "
         "windows, events, registry, web, processes, programs, environment"},
        {R"({"windows": [{"controls": [{"title": "a"}]}]})",
         "windows[0].controls[0].title: unknown key; expected one of class, id, text, rect, visible, controls"},
        {R"({"windows": [{}, {"title": "a", "rect": [0, 0, 1, 1], "title": "b"}]})",
         "windows[1].title: duplicate key"},
        {R"({"message_box_answers": ["Yes"]})",
         "message_box_answers[0]: expected one of ok, cancel, abort, retry, ignore, yes, no, try_again, continue"},
        // The person's answers.
        {R"({"answers": {"button": "ok"}})", "answers: expected an array of answers"},
        {R"({"answers": [{"button": "ok"}, {"text": "a"}]})", "answers[1].button: missing; expected ok or cancel"},
        {R"({"answers": [{"button": "yes"}]})", "answers[0].button: expected ok or cancel"},
        {R"({"answers": [{"button": "cancel", "text": "a"}]})", "answers[0].text: a cancelled dialog takes nothing"},
        {R"({"answers": [{"button": "ok", "text": "a", "values": {}}]})",
         "answers[0].values: an answer has a text or values, not both"},
        {R"({"answers": [{"button": "ok", "values": {"Age": 16}}]})", "answers[0].values.Age: expected a text"},
        {R"({"answers": [{"button": "ok", "values": ["Age"]}]})",
         "answers[0].values: expected an object of parameter names and texts"},
        {R"({"answers": [{"button": "ok", "Text": "a"}]})",
         "answers[0].Text: unknown key; expected one of button, text, values"},
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
        // Events for script-made windows.
        {R"({"events": [{"at_ms": 5, "window": "F"}]})", "events[0]: expected either a command or a message"},
        {R"({"events": [{"at_ms": 5, "window": "F", "command": 1, "message": 16}]})",
         "events[0]: expected either a command or a message"},
        {R"({"events": [{"at_ms": 9, "window": "F", "command": 1}, {"at_ms": 8, "window": "F", "message": 16}]})",
         "events[1].at_ms: expected a time in ms, not before the event before, an integer from 9 to "
         "9223372036854775807"},
        {R"({"events": [{"at_ms": 9, "command": 1}]})", "events[0].window: missing; expected a window title"},
        {R"({"events": [{"at_ms": 9, "window": "F", "command": 65536}]})",
         "events[0].command: expected a control id, an integer from 0 to 65535"},
        // Registry keys and web pages.
        {R"({"registry": {"HKCU\\X": {}}})",
         "registry.HKCU\\X: expected a key such as HKEY_CURRENT_USER\\Software\\Name"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"B": {"hex": "1AB"}}}})",
         "registry.HKEY_CURRENT_USER\\X.B.hex: expected hex digits, two for each byte"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"N": {"dword": -1}}}})",
         "registry.HKEY_CURRENT_USER\\X.N.dword: expected a number, an integer from 0 to 4294967295"},
        {R"({"registry": {"HKEY_CURRENT_USER\\X": {"N": 5}}})",
         "registry.HKEY_CURRENT_USER\\X.N: expected a text or an object with one of dword, qword, expand, hex"},
        {R"({"web": {"http://a/": 1}})", "web.http://a/: expected a page text"},
        // Processes.
        {R"({"processes": [{"pid": 4}]})", "processes[0].name: expected the executable's file name"},
        {R"({"programs": [{"name": "a", "memory": [{"address": 1, "hex": "2A0"}]}]})",
         "programs[0].memory[0].hex: expected a text of hexadecimal digit pairs"},
        {R"({"processes": [{"name": "a", "pid": 0}]})",
         "processes[0].pid: expected a process id, an integer from 1 to 4294967295"},
        {R"({"environment": {"A": 1}})", "environment.A: expected a text"},
        {R"({"files": "no-such-folder-here"})", "files: expected a folder that exists"},
        {R"({"files": 3})", "files: expected a folder or an array of paths"},
        // Closing when it appears: never there at all.
        {R"({"windows": [{"appear_ms": 500, "close_ms": 500}]})",
         "windows[0].close_ms: expected null or a time in ms after appear_ms, an integer from 501 to "
         "9223372036854775807"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), std::string("desk.json: ") + c.error);
}

// A text names the folder the simulated disk lives in, relative to the
// description's own folder; what the macro finds there is what the folder holds.
TEST(DesktopFile, FilesNameTheFolderOfTheSimulatedDisk) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("ovrix-desktop-disk-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "disk" / "D" / "Data");
    std::ofstream(dir / "disk" / "D" / "Data" / "In.txt") << "abc";
    std::string error;
    const auto description = ParseDesktopDescription(R"({"files": "disk"})", "desk.json", error, dir.string());
    ASSERT_TRUE(description) << error;
    {
        Described d(*description);
        EXPECT_TRUE(d.sim.files.FileExists(u"d:\\data\\in.TXT"));
        EXPECT_EQ(d.sim.files.FileInfo(u"D:\\Data\\In.txt")->size, 3u);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "disk" / "D" / "Data" / "In.txt"));  // the named folder stays
    std::filesystem::remove_all(dir);
}

// Reading and naming a file that is there is checked with the screens below.
TEST(DesktopFile, AFileThatCannotBeOpenedIsNamed) {
    const std::string path = ::testing::TempDir() + "ovrix-no-such-desk.json";
    std::string error;
    EXPECT_FALSE(ReadDesktopFile(path, error));
    EXPECT_EQ(error.rfind(path + ": cannot open the file", 0), 0u);
}

// Screens drawn from image files beside the description: the first sets the
// screen's size unless the description gives one, later ones take over at
// their times, and a file that is no image is refused before anything plays.
class DesktopScreens : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_ / "shots");
        Write("start.png", *EncodePicture(Filled(64, 48, 0xFF102030u), EncodingForFile(u"a.png")));
        Write("shots/later.bmp", *EncodePicture(Filled(64, 48, 0xFF405060u), EncodingForFile(u"a.bmp")));
        std::ofstream(dir_ / "notes.png") << "not an image";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static VBmp Filled(int32_t width, int32_t height, uint32_t colour) {
        return *BlankPicture(width, height, colour);
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(dir_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    // Parsed as ovrix-sim reads a file, relative paths from the file's folder.
    std::optional<DesktopDescription> Read(const std::string& text, std::string& error) {
        std::ofstream(dir_ / "desk.json") << text;
        return ReadDesktopFile((dir_ / "desk.json").string(), error);
    }
    DesktopDescription ReadOk(const std::string& text) {
        std::string error;
        const auto description = Read(text, error);
        EXPECT_TRUE(description) << error;
        return description ? *description : DesktopDescription{};
    }
    uint32_t ScreenColourAt(const SimPlatform& sim, int32_t x, int32_t y) {
        const VBmp part = sim.ScreenPart({x, y, x + 1, y + 1});
        return part.pixels[0] | (part.pixels[1] << 8) | (part.pixels[2] << 16) |
               (static_cast<uint32_t>(part.pixels[3]) << 24);
    }

    // A folder of this process's own: tests run in parallel, in other work trees too.
    std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() / ("ovrix-desktop-screens-" + std::to_string(::getpid()));
};

TEST_F(DesktopScreens, PicturesComeFromFilesBesideTheDescriptionAtTheirTimes) {
    Described d(ReadOk(R"({"screen": {"image": "start.png"},
                           "screens": [{"at_ms": 2000, "image": "shots/later.bmp"}]})"));
    EXPECT_EQ(d.sim.GetScreenSize().width, 64);
    EXPECT_EQ(d.sim.GetScreenSize().height, 48);
    EXPECT_EQ(ScreenColourAt(d.sim, 63, 47), 0xFF102030u);
    d.sim.Sleep(1999);
    EXPECT_EQ(ScreenColourAt(d.sim, 0, 0), 0xFF102030u);
    d.sim.Sleep(1);
    EXPECT_EQ(ScreenColourAt(d.sim, 0, 0), 0xFF405060u);

    // A larger screen of its own size shows black past the picture.
    Described w(ReadOk(R"({"screen": {"width": 100, "height": 48, "image": "start.png"}})"));
    EXPECT_EQ(w.sim.GetScreenSize().width, 100);
    EXPECT_EQ(ScreenColourAt(w.sim, 63, 0), 0xFF102030u);
    EXPECT_EQ(ScreenColourAt(w.sim, 64, 0), 0xFF000000u);

    // Before the first picture the screen is black, and keeps its default size.
    Described l(ReadOk(R"({"screens": [{"at_ms": 1000, "image": "shots/later.bmp"}]})"));
    EXPECT_EQ(l.sim.GetScreenSize().width, 1920);
    EXPECT_EQ(ScreenColourAt(l.sim, 5, 5), 0xFF000000u);
    l.sim.Sleep(1000);
    EXPECT_EQ(ScreenColourAt(l.sim, 5, 5), 0xFF405060u);
}

TEST_F(DesktopScreens, BadScreensAreRefusedWithTheirPlace) {
    const std::string base = (dir_ / "desk.json").string() + ": ";
    const std::pair<const char*, const char*> cases[] = {
        {R"({"screen": {"image": "notes.png"}})",
         R"(screen.image: expected an image file (PNG, BMP, JPEG or GIF) that can be read: "notes.png")"},
        {R"({"screen": {"image": "missing.png"}})",
         R"(screen.image: expected an image file (PNG, BMP, JPEG or GIF) that can be read: "missing.png")"},
        {R"({"screens": [{"at_ms": 5, "image": "start.png"}, {"at_ms": 5, "image": "start.png"}]})",
         "screens[1].at_ms: expected a time in ms after the screen before, an integer from 6 to 9223372036854775807"},
        {R"({"screen": {"image": "start.png"}, "screens": [{"at_ms": 0, "image": "start.png"}]})",
         "screens[0].at_ms: expected a time in ms after the screen before, an integer from 1 to 9223372036854775807"},
        {R"({"screens": [{"at_ms": 5}]})", "screens[0].image: missing; expected an image file"},
        {R"({"screens": [{"image": "start.png"}]})", "screens[0].at_ms: missing; expected a time in ms"},
        {R"({"screens": [{"at_ms": 5, "image": "start.png", "fade": 1}]})",
         "screens[0].fade: unknown key; expected one of at_ms, image"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(Read(text, error)) << text;
        EXPECT_EQ(error, base + expected);
    }
}

}  // namespace
}  // namespace ovrix
