// Runs vroview-splash against the stand-in main program on a private X server of 1024 by 768.
// gtest comes first: Xlib's macros (None, Bool, Status) would break its headers.
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Generous: the suite runs on a loaded two-core machine, sanitizers included.
constexpr auto Patience = 20s;

bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = Patience) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

// A 24-bit bottom-up BMP, the layout the usual painting programs write.
void WriteBmp(const fs::path& path, int width, int height, const std::function<Rgb(int, int)>& at) {
    int stride = (width * 3 + 3) & ~3;
    uint32_t size = 54u + uint32_t(stride) * uint32_t(height);
    std::string bytes(size, '\0');
    auto put = [&](size_t offset, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[offset + i] = char(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = at(x, y);
            size_t offset = 54 + size_t(height - 1 - y) * size_t(stride) + size_t(x) * 3;
            bytes[offset] = char(c.b);
            bytes[offset + 1] = char(c.g);
            bytes[offset + 2] = char(c.r);
        }
    std::ofstream(path, std::ios::binary) << bytes;
}

// What the stand-in wrote about its start.
struct Record {
    std::map<std::string, std::string> fields;
    std::vector<std::string> args;
};

Record ReadRecord(const fs::path& path) {
    Record record;
    std::istringstream lines(ReadFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        auto equals = line.find('=');
        std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        if (key == "arg")
            record.args.push_back(value);
        else
            record.fields[key] = value;
    }
    return record;
}

struct Shown {
    Window id = None;
    bool viewable = false;
    int x = 0, y = 0, width = 0, height = 0;
};

int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(VRO_XVFB))
            GTEST_SKIP() << "Xvfb is not installed";
        StartServer();
        ASSERT_NE(display, nullptr) << ReadFile(root / "xvfb.log");
    }

    void TearDown() override {
        for (pid_t pid : launched) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        for (int i = 1; i <= launches; ++i) {
            fs::path record = root / ("record-" + std::to_string(i));
            if (fs::exists(record))
                kill(std::stoi(ReadRecord(record).fields["pid"]), SIGKILL);
        }
        if (display)
            XCloseDisplay(display);
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }

    // Xvfb picks a free display itself and names it on the pipe once it accepts clients.
    void StartServer() {
        int ready[2];
        ASSERT_EQ(pipe2(ready, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, (root / "xvfb.log").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<const char*> args{"Xvfb",     "-displayfd",  "3",         "-screen",
                                      "0",        "1024x768x24", "-nolisten", "tcp",
                                      "-noreset", "-wr",         nullptr};
        int result = posix_spawn(&server, VRO_XVFB, &actions, nullptr,
                                 const_cast<char**>(args.data()), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(ready[1]);
        ASSERT_EQ(result, 0);

        std::string number;
        auto deadline = std::chrono::steady_clock::now() + Patience;
        while (number.find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd in{ready[0], POLLIN, 0};
            if (poll(&in, 1, 100) <= 0)
                continue;
            char buffer[16];
            ssize_t count = read(ready[0], buffer, sizeof buffer);
            if (count <= 0)
                break;
            number.append(buffer, size_t(count));
        }
        close(ready[0]);
        ASSERT_NE(number.find('\n'), std::string::npos) << "Xvfb did not start";
        displayName = ":" + number.substr(0, number.find('\n'));
        XSetErrorHandler(IgnoreXError);
        display = XOpenDisplay(displayName.c_str());
    }

    fs::path Folder(const std::string& name) {
        fs::path folder = root / name;
        fs::create_directories(folder);
        return fs::canonical(folder);
    }

    static void PlaceStandIn(const fs::path& folder) {
        fs::create_symlink(VRO_STANDIN, folder / "vroview");
    }

    // A copy of the launcher alone in a folder of its own, so that nothing is beside it.
    fs::path LauncherCopy(const fs::path& folder) {
        fs::path copy = folder / "vroview-splash";
        fs::copy_file(VRO_LAUNCHER, copy);
        return copy;
    }

    // Starts the launcher in a folder; its stand-in writes record-N, its errors go to stderr-N.
    pid_t Launch(const fs::path& folder, std::vector<std::string> args = {},
                 const std::vector<std::string>& extraEnvironment = {},
                 const fs::path& launcher = VRO_LAUNCHER, bool withDisplay = true) {
        ++launches;
        std::vector<std::string> environment;
        for (char** entry = environ; *entry; ++entry) {
            std::string text = *entry;
            const std::string name = text.substr(0, text.find('=') + 1);
            const bool replaced =
                std::any_of(extraEnvironment.begin(), extraEnvironment.end(),
                            [&](const std::string& extra) { return extra.starts_with(name); });
            if (!text.starts_with("DISPLAY=") && !text.starts_with("VRO_STANDIN_") && !replaced)
                environment.push_back(text);
        }
        if (withDisplay)
            environment.push_back("DISPLAY=" + displayName);
        environment.push_back("VRO_STANDIN_RECORD=" + RecordPath(launches).string());
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());

        std::vector<char*> env, argv{const_cast<char*>("vroview-splash")};
        for (auto& text : environment)
            env.push_back(text.data());
        env.push_back(nullptr);
        for (auto& text : args)
            argv.push_back(text.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, 2, StderrPath(launches).c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        int result =
            posix_spawn(&pid, launcher.c_str(), &actions, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(result, 0);
        launched.push_back(pid);
        return pid;
    }

    fs::path RecordPath(int launch) const { return root / ("record-" + std::to_string(launch)); }
    fs::path StderrPath(int launch) const { return root / ("stderr-" + std::to_string(launch)); }

    // The exit status, or nothing if the process is still running after the timeout.
    std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds timeout = Patience) {
        std::optional<int> status;
        WaitUntil(
            [&] {
                int raw = 0;
                if (waitpid(pid, &raw, WNOHANG) != pid)
                    return false;
                status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
                std::erase(launched, pid);
                return true;
            },
            timeout);
        return status;
    }

    long WindowPid(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1,
                               False, XA_CARDINAL, &type, &format, &count, &after,
                               &data) == Success &&
            type == XA_CARDINAL && count == 1)
            pid = *reinterpret_cast<long*>(data);
        if (data)
            XFree(data);
        return pid;
    }

    // The top-level window with this title, of this process when a pid is given.
    Shown Find(const std::string& title, pid_t owner = -1) {
        Shown shown;
        Window rootWindow, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, DefaultRootWindow(display), &rootWindow, &parent, &children,
                        &count))
            return shown;
        for (unsigned i = 0; i < count && shown.id == None; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &name) && name == title &&
                (owner < 0 || WindowPid(children[i]) == owner) &&
                XGetWindowAttributes(display, children[i], &attributes)) {
                shown = {children[i],      attributes.map_state == IsViewable,
                         attributes.x,     attributes.y,
                         attributes.width, attributes.height};
            }
            if (name)
                XFree(name);
        }
        if (children)
            XFree(children);
        return shown;
    }

    bool SplashShown(pid_t launcher) { return Find("Vro Zure", launcher).viewable; }
    bool StandInShown() { return Find("Stand-in").viewable; }

    Rgb ScreenPixel(int x, int y) {
        XImage* image =
            XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return {1, 2, 3};
        unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        Visual* visual = DefaultVisual(display, DefaultScreen(display));
        auto channel = [&](unsigned long mask) {
            int shift = __builtin_ctzl(mask);
            return uint8_t(((pixel & mask) >> shift) * 255 / (mask >> shift));
        };
        return {channel(visual->red_mask), channel(visual->green_mask), channel(visual->blue_mask)};
    }

    // Presses a key in a window the way the server would deliver it.
    void SendKey(Window window, KeySym key) {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.display = display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(display);
        event.xkey.time = CurrentTime;
        event.xkey.x = event.xkey.y = 1;
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode(display, key);
        XSendEvent(display, window, False, KeyPressMask, &event);
        XFlush(display);
    }

    void Click(Window window, int x, int y) {
        for (int type : {ButtonPress, ButtonRelease}) {
            XEvent event{};
            event.xbutton.type = type;
            event.xbutton.display = display;
            event.xbutton.window = window;
            event.xbutton.root = DefaultRootWindow(display);
            event.xbutton.time = CurrentTime;
            event.xbutton.x = x;
            event.xbutton.y = y;
            event.xbutton.button = Button1;
            event.xbutton.same_screen = True;
            XSendEvent(display, window, False,
                       type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
        }
        XFlush(display);
    }

    ScratchFolder scratch;
    const fs::path& root = scratch.path;
    std::string displayName;
    Display* display = nullptr;
    pid_t server = -1;
    std::vector<pid_t> launched;
    int launches = 0;
};

TEST_F(SplashTest, PassesItsArgumentsUnchanged) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    const std::vector<std::vector<std::string>> cases = {
        {}, {"Meter 3 week.vro"}, {"/debug", "Meter 3 week.vro"}, {"", "two  spaces", "--x"}};
    for (const auto& args : cases) {
        pid_t launcher = Launch(folder, args);
        EXPECT_EQ(WaitForExit(launcher), 0) << ReadFile(StderrPath(launches));
        Record record = ReadRecord(RecordPath(launches));
        EXPECT_EQ(record.fields["argc"], std::to_string(args.size()));
        EXPECT_EQ(record.args, args);
    }
}

TEST_F(SplashTest, StartsTheProgramInItsOwnSessionWithOnlyTheStandardHandles) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    // A descriptor the launcher inherits must not reach the main program.
    int leaked = open("/dev/null", O_RDONLY);
    ASSERT_GE(leaked, 3);
    pid_t launcher = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=0"});
    close(leaked);
    EXPECT_EQ(WaitForExit(launcher), 0);

    Record record = ReadRecord(RecordPath(launches));
    EXPECT_EQ(record.fields["sid"], record.fields["pid"]);
    EXPECT_EQ(record.fields["fds"], "0,1,2");
    EXPECT_EQ(record.fields["cwd"], folder.string());
    EXPECT_EQ(record.fields["folder"], folder.string());
}

TEST_F(SplashTest, FallsBackToTheProgramBesideTheLauncher) {
    fs::path home = Folder("home"), bin = Folder("bin");
    fs::path launcher = LauncherCopy(bin);
    PlaceStandIn(bin);

    pid_t first = Launch(home, {"a.vro"}, {}, launcher);
    EXPECT_EQ(WaitForExit(first), 0) << ReadFile(StderrPath(launches));
    Record beside = ReadRecord(RecordPath(launches));
    EXPECT_EQ(beside.fields["folder"], bin.string());
    EXPECT_EQ(beside.fields["cwd"], home.string());
    EXPECT_EQ(beside.args, std::vector<std::string>{"a.vro"});

    // One in the current directory comes first.
    PlaceStandIn(home);
    pid_t second = Launch(home, {}, {}, launcher);
    EXPECT_EQ(WaitForExit(second), 0);
    EXPECT_EQ(ReadRecord(RecordPath(launches)).fields["folder"], home.string());
}

TEST_F(SplashTest, CentresThePictureAndCopiesItUnscaled) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    const Rgb yellow{255, 255, 0}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255},
        magenta{255, 0, 255}, white{255, 255, 255};
    // Quadrants tell rows from columns and a flip; the corner pixels tell scaling and offset.
    WriteBmp(folder / "Splash.bmp", 640, 480, [&](int x, int y) {
        if (x == 0 && y == 0)
            return yellow;
        if (x == 639 && y == 479)
            return magenta;
        return y < 240 ? (x < 320 ? red : green) : (x < 320 ? blue : white);
    });
    pid_t launcher = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=60000"});
    ASSERT_TRUE(WaitUntil([&] { return SplashShown(launcher); }));
    Shown splash = Find("Vro Zure", launcher);
    EXPECT_EQ(splash.x, 192);
    EXPECT_EQ(splash.y, 144);
    EXPECT_EQ(splash.width, 640);
    EXPECT_EQ(splash.height, 480);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(192, 144) == yellow; }))
        << ScreenPixel(192, 144);
    EXPECT_EQ(ScreenPixel(193, 144), red);
    EXPECT_EQ(ScreenPixel(192 + 400, 144 + 10), green);
    EXPECT_EQ(ScreenPixel(192 + 10, 144 + 300), blue);
    EXPECT_EQ(ScreenPixel(192 + 638, 144 + 479), white);
    EXPECT_EQ(ScreenPixel(192 + 639, 144 + 479), magenta);
    EXPECT_EQ(ScreenPixel(192 + 640, 144 + 479), white) << "the root window beside it";

    // Wider than the screen by an odd amount: (1024 - 1101) / 2 truncates to -38.
    WriteBmp(folder / "Splash.bmp", 1101, 51, [](int, int) { return Rgb{0, 0, 128}; });
    pid_t wide = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=60000"});
    ASSERT_TRUE(WaitUntil([&] { return SplashShown(wide); }));
    Shown wideSplash = Find("Vro Zure", wide);
    EXPECT_EQ(wideSplash.x, -38);
    EXPECT_EQ(wideSplash.y, 358);
    EXPECT_EQ(wideSplash.width, 1101);
}

TEST_F(SplashTest, TakesThePictureOfTheWorkingDirectoryThenTheInstalledOneThenTheOneBesideIt) {
    fs::path home = Folder("home"), bin = Folder("app/bin"), share = Folder("app/share/vroview");
    fs::path launcher = LauncherCopy(bin);
    PlaceStandIn(home);
    // Told apart by their widths.
    const struct {
        fs::path folder;
        int width;
    } pictures[] = {{home, 30}, {share, 40}, {bin, 50}};
    for (const auto& picture : pictures)
        WriteBmp(picture.folder / "Splash.bmp", picture.width, 10, [](int, int) {
            return Rgb{0, 128, 0};
        });
    for (const auto& picture : pictures) {
        pid_t shown = Launch(home, {}, {"VRO_STANDIN_DELAY_MS=60000"}, launcher);
        ASSERT_TRUE(WaitUntil([&] { return SplashShown(shown); }));
        EXPECT_EQ(Find("Vro Zure", shown).width, picture.width) << picture.folder;
        kill(shown, SIGKILL);
        fs::remove(picture.folder / "Splash.bmp");
    }
}

TEST_F(SplashTest, StaysBlackUntilTheProgramsWindowMapsThenGoes) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    // Alone in its folder: the build tree keeps the shipped picture beside the launcher.
    pid_t launcher = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=3000"}, LauncherCopy(Folder("bin")));
    ASSERT_TRUE(WaitUntil([&] { return SplashShown(launcher); }));
    Shown splash = Find("Vro Zure", launcher);
    EXPECT_EQ(splash.x, 412);
    EXPECT_EQ(splash.y, 334);
    EXPECT_EQ(splash.width, 200);
    EXPECT_EQ(splash.height, 100);
    EXPECT_EQ(ScreenPixel(412 + 100, 334 + 50), (Rgb{0, 0, 0}));

    // Splash first, then the stand-in: once mapped, the stand-in's window stays mapped, so a
    // splash found gone before the stand-in is found mapped went too early.
    bool wentEarly = false;
    ASSERT_TRUE(WaitUntil([&] {
        bool splashUp = SplashShown(launcher);
        bool ready = StandInShown();
        wentEarly = wentEarly || (!splashUp && !ready);
        return ready;
    }));
    EXPECT_FALSE(wentEarly);
    auto mapped = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitUntil([&] { return !SplashShown(launcher); }, 3s))
        << "the splash should go within about a second of the program's window";
    auto gone = std::chrono::steady_clock::now() - mapped;
    EXPECT_EQ(WaitForExit(launcher), 0);
    RecordProperty("GoneAfterMs",
                   int(std::chrono::duration_cast<std::chrono::milliseconds>(gone).count()));
}

TEST_F(SplashTest, ShowsTheBlackWindowForAnUnreadablePicture) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    std::ofstream(folder / "Splash.bmp") << "BM not really a bitmap";
    pid_t launcher = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=60000"});
    ASSERT_TRUE(WaitUntil([&] { return SplashShown(launcher); }));
    Shown splash = Find("Vro Zure", launcher);
    EXPECT_EQ(splash.width, 200);
    EXPECT_EQ(splash.height, 100);
    EXPECT_EQ(ScreenPixel(412 + 199, 334 + 99), (Rgb{0, 0, 0}));
}

TEST_F(SplashTest, EndsWithTheProgramWhenItExitsBeforeItIsReady) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    pid_t launcher = Launch(folder, {}, {"VRO_STANDIN_DELAY_MS=2000", "VRO_STANDIN_EXIT=7"});
    ASSERT_TRUE(WaitUntil([&] { return SplashShown(launcher); }));
    EXPECT_EQ(WaitForExit(launcher), 7);
    EXPECT_FALSE(SplashShown(launcher));
}

TEST_F(SplashTest, ReportsAProgramThatCannotBeRunAndShowsNoPicture) {
    fs::path home = Folder("home"), bin = Folder("bin"), path = Folder("path");
    fs::path launcher = LauncherCopy(bin);
    WriteBmp(home / "Splash.bmp", 64, 64, [](int, int) { return Rgb{255, 0, 0}; });
    const std::string onPath = "PATH=" + path.string();

    // None anywhere: the message names every place looked in; dismissed with the keyboard.
    pid_t missing = Launch(home, {}, {onPath}, launcher);
    ASSERT_TRUE(WaitUntil([&] { return Find("ERROR", missing).viewable; }));
    EXPECT_FALSE(SplashShown(missing));
    const std::string report = ReadFile(StderrPath(launches));
    EXPECT_TRUE(report.starts_with("ERROR: Can't run the program.\nvroview was not found in:\n"
                                   "  ./vroview\n  " +
                                   (bin / "vroview").string() + "\n"))
        << report;
    EXPECT_NE(report.find("  " + (path / "vroview").string() + "\n"), std::string::npos) << report;
    SendKey(Find("ERROR", missing).id, XK_Return);
    EXPECT_EQ(WaitForExit(missing), 1);

    // One that is there but cannot be executed: named with the reason; dismissed with OK.
    std::ofstream(home / "vroview") << "not a program";
    fs::permissions(home / "vroview", fs::perms::owner_all);
    pid_t broken = Launch(home, {}, {onPath}, launcher);
    ASSERT_TRUE(WaitUntil([&] { return Find("ERROR", broken).viewable; }));
    EXPECT_FALSE(SplashShown(broken));
    EXPECT_EQ(ReadFile(StderrPath(launches)),
              "ERROR: Can't run the program.\n./vroview: Exec format error\n");
    Shown box = Find("ERROR", broken);
    Click(box.id, box.width / 2, box.height - 20);
    EXPECT_EQ(WaitForExit(broken), 1);
}

// Started from a menu, with neither the program beside it nor in the working directory, the
// launcher takes the one on the PATH; --help is answered without a display.
TEST_F(SplashTest, FindsTheProgramOnThePathAndAnswersHelp) {
    fs::path home = Folder("home"), bin = Folder("bin"), path = Folder("path");
    fs::path launcher = LauncherCopy(bin);
    PlaceStandIn(path);
    pid_t started = Launch(home, {}, {"PATH=/nonexistent:" + path.string()}, launcher);
    EXPECT_EQ(WaitForExit(started), 0) << ReadFile(StderrPath(launches));
    EXPECT_EQ(ReadRecord(RecordPath(launches)).fields["folder"], path.string());

    pid_t help = Launch(home, {"--help"}, {}, launcher, false);
    EXPECT_EQ(WaitForExit(help), 0);
    EXPECT_FALSE(fs::exists(RecordPath(launches)));
}

TEST_F(SplashTest, WithoutADisplayStartsNothing) {
    fs::path folder = Folder("home");
    PlaceStandIn(folder);
    pid_t launcher = Launch(folder, {}, {}, VRO_LAUNCHER, false);
    EXPECT_EQ(WaitForExit(launcher), 1);
    EXPECT_EQ(ReadFile(StderrPath(launches)), "ERROR: Can't register window class.\n");
    EXPECT_FALSE(fs::exists(RecordPath(launches)));
}

} // namespace
