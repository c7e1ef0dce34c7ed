// vroview-splash: shows Splash.bmp centred on the screen while it starts vroview, and ends as
// soon as vroview's window is up, or as soon as vroview has ended. Every argument goes to
// vroview unchanged; the launcher's one option of its own is --help, alone.
#include "resources/DataFiles.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const ClassName = "Splash screen";
const char* const WindowTitle = "Vro Zure";
const char* const ProgramName = "vroview";
const char* const PictureFile = "Splash.bmp";
const char* const ClassNotRegistered = "Can't register window class.";
const char* const ProgramNotStarted = "Can't run the program.";
const char* const Usage =
    "Usage: vroview-splash [/debug] [FILE]\n"
    "Shows the VroView picture on the screen while it starts vroview with the same arguments.\n"
    "vroview is looked for in the working directory, beside vroview-splash, in the folder\n"
    "VroView was installed to, and on the PATH. See vroview --help for the arguments.\n";
const char* const ErrorCaption = "ERROR";

constexpr int DefaultWidth = 200;
constexpr int DefaultHeight = 100;
// Window coordinates are 16-bit signed on the wire; a larger picture cannot be shown.
constexpr int MaxPictureSide = 32767;
constexpr auto TimerPeriod = std::chrono::milliseconds(500);
// A reparenting window manager puts the program's window one or two levels below the root.
constexpr int MaxTopLevelDepth = 3;

// Windows may vanish between being listed and being asked about; such errors are expected.
// The calls that meet them report failure through their results, and the code that needs to
// know about a failed request checks this flag after XSync.
bool XRequestFailed = false;

int RecordXError(Display*, XErrorEvent*) {
    XRequestFailed = true;
    return 0;
}

// The exit status of a shell: the code, or 128 plus the signal that ended the process.
int ExitStatus(int waitStatus) {
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return 1;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// A program started from a desktop menu has the home folder as its current directory, so
// the main program is also looked for beside the launcher itself, where it was installed,
// and on the PATH. Every place looked in is added to tried.
std::string FindMainProgram(std::vector<std::string>& tried) {
    std::vector<std::string> candidates{std::string("./") + ProgramName};
    const std::filesystem::path folder = ProgramFolder();
    if (!folder.empty())
        candidates.push_back((folder / ProgramName).string());
#ifdef VRO_INSTALL_BINDIR
    candidates.push_back((std::filesystem::path(VRO_INSTALL_BINDIR) / ProgramName).string());
#endif
    if (const char* path = std::getenv("PATH")) {
        std::string list = path;
        for (size_t start = 0; start <= list.size();) {
            size_t end = list.find(':', start);
            if (end == std::string::npos)
                end = list.size();
            // An empty entry is the working directory, already looked in.
            if (end > start)
                candidates.push_back(
                    (std::filesystem::path(list.substr(start, end - start)) / ProgramName)
                        .string());
            start = end + 1;
        }
    }
    for (const std::string& candidate : candidates) {
        if (std::find(tried.begin(), tried.end(), candidate) != tried.end())
            continue;
        tried.push_back(candidate);
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return {};
}

// Why the last start failed (an errno value).
int startError = 0;

// Starts the main program in a session of its own with the launcher's arguments, environment
// and current directory, and nothing open but the standard three. Returns its pid, or -1.
pid_t StartMainProgram(const std::string& path, int argc, char** argv) {
    std::vector<char*> args;
    args.push_back(const_cast<char*>(path.c_str()));
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    int result = posix_spawn(&pid, path.c_str(), &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    startError = result;
    return result == 0 ? pid : -1;
}

Atom Intern(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

void SetAtomProperty(Display* display, Window window, const char* property, const char* value) {
    Atom atom = Intern(display, value);
    XChangeProperty(display, window, Intern(display, property), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&atom), 1);
}

// Name, class, fixed size and position, our pid, and the close protocol: what a window
// manager needs to place and label a window of ours.
void DescribeWindow(Display* display, Window window, const char* title, const char* className,
                    int x, int y, int width, int height, bool takesInput) {
    XSizeHints size{};
    size.flags = USPosition | USSize | PMinSize | PMaxSize;
    size.x = x;
    size.y = y;
    size.width = size.min_width = size.max_width = width;
    size.height = size.min_height = size.max_height = height;
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = takesInput;
    hints.initial_state = NormalState;
    std::string resourceName = "vroview-splash";
    XClassHint classHint{resourceName.data(), const_cast<char*>(className)};
    XTextProperty name;
    char* titleText = const_cast<char*>(title);
    if (XStringListToTextProperty(&titleText, 1, &name)) {
        XSetWMProperties(display, window, &name, &name, nullptr, 0, &size, &hints, &classHint);
        XFree(name.value);
    }
    XChangeProperty(display, window, Intern(display, "_NET_WM_NAME"),
                    Intern(display, "UTF8_STRING"), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    long pid = getpid();
    XChangeProperty(display, window, Intern(display, "_NET_WM_PID"), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
    Atom deleteWindow = Intern(display, "WM_DELETE_WINDOW");
    XSetWMProtocols(display, window, &deleteWindow, 1);
}

bool IsDeleteRequest(Display* display, const XEvent& event) {
    return event.type == ClientMessage && event.xclient.format == 32 &&
           static_cast<Atom>(event.xclient.data.l[0]) == Intern(display, "WM_DELETE_WINDOW");
}

// One colour channel of 0-255 scaled into a true-colour visual's mask.
unsigned long ChannelBits(unsigned value, unsigned long mask) {
    if (!mask)
        return 0;
    int shift = std::countr_zero(mask);
    unsigned long top = mask >> shift;
    return ((value * top + 127) / 255) << shift;
}

unsigned long AllocateColour(Display* display, int screen, unsigned short r, unsigned short g,
                             unsigned short b, unsigned long fallback) {
    XColor colour{};
    colour.red = static_cast<unsigned short>(r * 257);
    colour.green = static_cast<unsigned short>(g * 257);
    colour.blue = static_cast<unsigned short>(b * 257);
    return XAllocColor(display, DefaultColormap(display, screen), &colour) ? colour.pixel
                                                                           : fallback;
}

// The small message window of the two failures: caption, error sign, text and an OK button.
// It returns when the user presses OK, Return, Space or Escape, or closes the window.
class MessageWindow {
public:
    MessageWindow(Display* display, const char* caption, const char* text);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    void Run();

private:
    void Layout();
    void Paint();
    bool OnButton(int x, int y) const;

    Display* display;
    int screen;
    std::vector<std::string> lines;
    Window window = None;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
    bool fontLoaded = false;
    int width = 0, height = 0;
    int textWidth = 0, lineHeight = 0, ascent = 0;
    int buttonX = 0, buttonY = 0, buttonWidth = 0, buttonHeight = 0;
    bool pressed = false;
    unsigned long black = 0, white = 0, face = 0, edge = 0, sign = 0;
};

constexpr int Margin = 14;
constexpr int SignSize = 32;

MessageWindow::MessageWindow(Display* d, const char* caption, const char* message)
    : display(d), screen(DefaultScreen(d)) {
    for (const char* line = message;;) {
        const char* end = std::strchr(line, '\n');
        lines.emplace_back(line, end ? end : line + std::strlen(line));
        if (!end)
            break;
        line = end + 1;
    }
    black = BlackPixel(display, screen);
    white = WhitePixel(display, screen);
    face = AllocateColour(display, screen, 0xe1, 0xe1, 0xe1, white);
    edge = AllocateColour(display, screen, 0x70, 0x70, 0x70, black);
    sign = AllocateColour(display, screen, 0xc4, 0x2b, 0x1c, black);

    Window root = RootWindow(display, screen);
    gc = XCreateGC(display, root, 0, nullptr);
    font = XLoadQueryFont(display, "fixed");
    fontLoaded = font != nullptr;
    if (fontLoaded)
        XSetFont(display, gc, font->fid);
    else
        font = XQueryFont(display, XGContextFromGC(gc));
    Layout();

    int x = (DisplayWidth(display, screen) - width) / 2;
    int y = (DisplayHeight(display, screen) - height) / 2;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = white;
    attributes.event_mask = ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask;
    window = XCreateWindow(display, root, x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    DescribeWindow(display, window, caption, "Vroview-splash", x, y, width, height, true);
    SetAtomProperty(display, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
}

MessageWindow::~MessageWindow() {
    XDestroyWindow(display, window);
    if (fontLoaded)
        XFreeFont(display, font);
    else if (font)
        XFreeFontInfo(nullptr, font, 1);
    XFreeGC(display, gc);
    XSync(display, False);
}

void MessageWindow::Layout() {
    textWidth = 0;
    for (const std::string& line : lines) {
        const int length = static_cast<int>(line.size());
        textWidth = std::max(textWidth, font ? XTextWidth(font, line.c_str(), length) : 6 * length);
    }
    ascent = font ? font->ascent : 10;
    lineHeight = font ? font->ascent + font->descent : 13;
    buttonHeight = lineHeight + 12;
    buttonWidth = std::max(75, (font ? XTextWidth(font, "OK", 2) : 12) + 24);
    int contentWidth = SignSize + Margin + textWidth;
    width = std::max(contentWidth, buttonWidth) + 2 * Margin;
    int contentHeight = std::max(SignSize, lineHeight * static_cast<int>(lines.size()));
    height = Margin + contentHeight + Margin + buttonHeight + Margin;
    buttonX = (width - buttonWidth) / 2;
    buttonY = height - Margin - buttonHeight;
}

void MessageWindow::Paint() {
    XClearWindow(display, window);
    XSetForeground(display, gc, sign);
    XFillArc(display, window, gc, Margin, Margin, SignSize, SignSize, 0, 360 * 64);
    XSetForeground(display, gc, white);
    XSetLineAttributes(display, gc, 3, LineSolid, CapRound, JoinRound);
    int a = Margin + 10, b = Margin + SignSize - 10;
    XDrawLine(display, window, gc, a, a, b, b);
    XDrawLine(display, window, gc, a, b, b, a);
    XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);

    const int textHeight = lineHeight * static_cast<int>(lines.size());
    int textY = Margin + (std::max(SignSize, textHeight) - textHeight) / 2 + ascent;
    XSetForeground(display, gc, black);
    for (const std::string& line : lines) {
        XDrawString(display, window, gc, Margin + SignSize + Margin, textY, line.c_str(),
                    static_cast<int>(line.size()));
        textY += lineHeight;
    }

    XSetForeground(display, gc, pressed ? edge : face);
    XFillRectangle(display, window, gc, buttonX, buttonY, static_cast<unsigned>(buttonWidth),
                   static_cast<unsigned>(buttonHeight));
    XSetForeground(display, gc, edge);
    XDrawRectangle(display, window, gc, buttonX, buttonY, static_cast<unsigned>(buttonWidth - 1),
                   static_cast<unsigned>(buttonHeight - 1));
    XSetForeground(display, gc, pressed ? white : black);
    int okWidth = font ? XTextWidth(font, "OK", 2) : 12;
    XDrawString(display, window, gc, buttonX + (buttonWidth - okWidth) / 2,
                buttonY + (buttonHeight - lineHeight) / 2 + ascent, "OK", 2);
}

bool MessageWindow::OnButton(int x, int y) const {
    return x >= buttonX && x < buttonX + buttonWidth && y >= buttonY && y < buttonY + buttonHeight;
}

void MessageWindow::Run() {
    XMapRaised(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != window)
            continue;
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0)
                Paint();
            break;
        case ButtonPress:
            if (event.xbutton.button == Button1 && OnButton(event.xbutton.x, event.xbutton.y)) {
                pressed = true;
                Paint();
            }
            break;
        case ButtonRelease:
            if (event.xbutton.button == Button1 && pressed) {
                pressed = false;
                if (OnButton(event.xbutton.x, event.xbutton.y))
                    return;
                Paint();
            }
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_Return || key == XK_KP_Enter || key == XK_space || key == XK_Escape)
                return;
            break;
        }
        case ClientMessage:
            if (IsDeleteRequest(display, event))
                return;
            break;
        default:
            break;
        }
    }
}

void ShowError(Display* display, const char* message) {
    std::fprintf(stderr, "%s: %s\n", ErrorCaption, message);
    if (!display)
        return;
    MessageWindow box(display, ErrorCaption, message);
    box.Run();
}

// The splash window and its picture, and the main program it waits for.
class Splash {
public:
    explicit Splash(Display* display);
    ~Splash();
    Splash(const Splash&) = delete;
    Splash& operator=(const Splash&) = delete;

    // Starts the main program and shows the picture until the program is ready; returns the
    // launcher's exit status.
    int Run(int argc, char** argv);

private:
    void LoadPicture();
    void CreateWindow();
    void Paint(const XExposeEvent& area);
    bool MainProgramReady();
    bool HasReadyWindowBelow(Window parent, int depth);
    long WindowPid(Window window);

    Display* display;
    int screen;
    Window window = None;
    Pixmap picture = None;
    GC gc = nullptr;
    int width = DefaultWidth;
    int height = DefaultHeight;
    pid_t mainProgram = -1;
    Atom pidAtom;
};

Splash::Splash(Display* d)
    : display(d), screen(DefaultScreen(d)), pidAtom(Intern(d, "_NET_WM_PID")) {}

Splash::~Splash() {
    if (gc)
        XFreeGC(display, gc);
    if (picture != None)
        XFreePixmap(display, picture);
    if (window != None)
        XDestroyWindow(display, window);
    XSync(display, False);
}

// Reads Splash.bmp (the working directory's, else the installed one) into a server pixmap
// once, so that every expose is a plain copy. A file that is missing or unreadable, too
// large for the window system, or a display without true colour leaves no picture and the
// default size.
void Splash::LoadPicture() {
    const std::filesystem::path file = FindDataFile(PictureFile, ProgramFolder());
    if (file.empty())
        return;
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(stbi_load(file.c_str(), &w, &h, &channels, 3),
                                                     stbi_image_free);
    if (!pixels || w > MaxPictureSide || h > MaxPictureSide)
        return;

    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(visual);
    wanted.screen = screen;
    int count = 0;
    std::unique_ptr<XVisualInfo, int (*)(void*)> info(
        XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count), XFree);
    if (!info || count < 1 || info->c_class != TrueColor)
        return;

    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
    if (!image)
        return;
    image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * h));
    if (!image->data) {
        XDestroyImage(image);
        return;
    }
    const stbi_uc* p = pixels.get();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, p += 3)
            XPutPixel(image, x, y,
                      ChannelBits(p[0], info->red_mask) | ChannelBits(p[1], info->green_mask) |
                          ChannelBits(p[2], info->blue_mask));

    XRequestFailed = false;
    picture = XCreatePixmap(display, RootWindow(display, screen), static_cast<unsigned>(w),
                            static_cast<unsigned>(h), static_cast<unsigned>(depth));
    GC copier = XCreateGC(display, picture, 0, nullptr);
    XPutImage(display, picture, copier, image, 0, 0, 0, 0, static_cast<unsigned>(w),
              static_cast<unsigned>(h));
    XFreeGC(display, copier);
    XDestroyImage(image);
    XSync(display, False);
    if (XRequestFailed) {
        XFreePixmap(display, picture);
        picture = None;
        return;
    }
    width = w;
    height = h;
}

void Splash::CreateWindow() {
    // Signed division truncating toward zero: a picture wider than the screen starts left of it.
    int x = (DisplayWidth(display, screen) - width) / 2;
    int y = (DisplayHeight(display, screen) - height) / 2;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.event_mask = ExposureMask;
    window = XCreateWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWEventMask, &attributes);
    DescribeWindow(display, window, WindowTitle, ClassName, x, y, width, height, false);
    SetAtomProperty(display, window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_SPLASH");
    // No caption, border or menu: the Motif hints are what window managers read for that.
    long motifHints[5] = {2 /* decorations field set */, 0, 0 /* no decorations */, 0, 0};
    Atom motif = Intern(display, "_MOTIF_WM_HINTS");
    XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motifHints), 5);
    gc = XCreateGC(display, window, 0, nullptr);
}

void Splash::Paint(const XExposeEvent& area) {
    if (picture == None || area.x >= width || area.y >= height)
        return;
    XCopyArea(display, picture, window, gc, area.x, area.y,
              static_cast<unsigned>(std::min(area.width, width - area.x)),
              static_cast<unsigned>(std::min(area.height, height - area.y)), area.x, area.y);
}

long Splash::WindowPid(Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

// The main program is ready once one of its top-level windows is on screen. Under a
// reparenting window manager that window sits inside a frame, so a few levels are searched.
bool Splash::HasReadyWindowBelow(Window parent, int depth) {
    Window root = None, above = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &above, &children, &count))
        return false;
    std::unique_ptr<Window, int (*)(void*)> list(children, XFree);
    for (unsigned i = 0; i < count; ++i) {
        Window child = children[i];
        if (child == window)
            continue;
        if (WindowPid(child) == mainProgram) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, child, &attributes) &&
                attributes.map_state == IsViewable)
                return true;
        } else if (depth < MaxTopLevelDepth && HasReadyWindowBelow(child, depth + 1)) {
            return true;
        }
    }
    return false;
}

bool Splash::MainProgramReady() {
    return HasReadyWindowBelow(RootWindow(display, screen), 1);
}

int Splash::Run(int argc, char** argv) {
    LoadPicture();
    CreateWindow();
    // The window is shown only once the main program runs: a failed start leaves none up.
    std::vector<std::string> tried;
    std::string program = FindMainProgram(tried);
    mainProgram = program.empty() ? -1 : StartMainProgram(program, argc, argv);
    if (mainProgram < 0) {
        // Says where vroview was looked for, or which one would not run.
        std::string message = ProgramNotStarted;
        if (program.empty()) {
            message += "\nvroview was not found in:";
            for (const std::string& place : tried)
                message += "\n  " + place;
        } else {
            message += "\n" + program + ": " + std::strerror(startError);
        }
        ShowError(display, message.c_str());
        return EXIT_FAILURE;
    }
    XMapRaised(display, window);
    XFlush(display);

    auto nextTick = Clock::now() + TimerPeriod;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == Expose && event.xexpose.window == window)
                Paint(event.xexpose);
            else if (IsDeleteRequest(display, event))
                return EXIT_SUCCESS;
        }
        auto now = Clock::now();
        if (now >= nextTick) {
            if (MainProgramReady())
                return EXIT_SUCCESS;
            // A main program that ends before it is ready would otherwise leave the picture
            // up for good; its status is passed on so that a failed start is not hidden.
            int status = 0;
            if (waitpid(mainProgram, &status, WNOHANG) == mainProgram)
                return ExitStatus(status);
            nextTick = now + TimerPeriod;
            continue;
        }
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick - now);
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(wait.count()));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return EXIT_SUCCESS;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        // Without a display there is nothing to show a picture or a message on.
        ShowError(nullptr, ClassNotRegistered);
        return EXIT_FAILURE;
    }
    XSetErrorHandler(RecordXError);
    // Inherited as ignored, SIGCHLD would reap the main program unseen and hide an early end.
    signal(SIGCHLD, SIG_DFL);
    int status;
    {
        Splash splash(display);
        status = splash.Run(argc, argv);
    }
    XCloseDisplay(display);
    return status;
}
