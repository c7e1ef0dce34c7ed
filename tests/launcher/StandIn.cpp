// Stand-in for vroview in the launcher's tests. It records how it was started, then maps a
// window carrying its pid after a chosen delay, or exits early. Driven by its environment:
//   VRO_STANDIN_RECORD   file to write the record to (written whole, then renamed into place)
//   VRO_STANDIN_DELAY_MS delay before the window maps (or before the early exit)
//   VRO_STANDIN_EXIT     exit with this status after the delay instead of mapping a window
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dirent.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Longest a stand-in stays up, should a test fail before it can end it.
constexpr auto Lifetime = std::chrono::seconds(60);

std::string OpenDescriptors() {
    std::string list;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return "?";
    int own = dirfd(dir);
    std::vector<int> fds;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        int fd = std::atoi(entry->d_name);
        if (fd != own)
            fds.push_back(fd);
    }
    closedir(dir);
    std::sort(fds.begin(), fds.end());
    for (int fd : fds) {
        if (!list.empty())
            list += ',';
        list += std::to_string(fd);
    }
    return list;
}

void WriteRecord(const char* path, int argc, char** argv) {
    char cwd[PATH_MAX] = "";
    if (!getcwd(cwd, sizeof cwd))
        cwd[0] = 0;
    std::string program = argv[0];
    std::string folder = program.substr(0, program.find_last_of('/') + 1);
    char resolved[PATH_MAX] = "";
    if (!realpath(folder.empty() ? "." : folder.c_str(), resolved))
        resolved[0] = 0;
    std::string descriptors = OpenDescriptors();
    std::string temporary = std::string(path) + ".part";
    {
        std::ofstream out(temporary);
        out << "pid=" << getpid() << "\nsid=" << getsid(0) << "\ncwd=" << cwd
            << "\nfolder=" << resolved << "\nfds=" << descriptors << "\nargc=" << argc - 1 << "\n";
        for (int i = 1; i < argc; ++i)
            out << "arg=" << argv[i] << "\n";
    }
    std::rename(temporary.c_str(), path);
}

int ExitQuietly(Display*) {
    _exit(0);
}

} // namespace

int main(int argc, char** argv) {
    auto deadline = std::chrono::steady_clock::now() + Lifetime;
    if (const char* record = std::getenv("VRO_STANDIN_RECORD"))
        WriteRecord(record, argc, argv);
    const char* delay = std::getenv("VRO_STANDIN_DELAY_MS");
    const char* early = std::getenv("VRO_STANDIN_EXIT");

    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 99;
    // The test's X server goes away at its end; that ends the stand-in too.
    XSetIOErrorHandler(ExitQuietly);
    // Created at once with its pid, as a real program's window is, but mapped only later:
    // an unmapped window must not count as ready.
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 320, 240, 0,
                                        BlackPixel(display, 0), WhitePixel(display, 0));
    XStoreName(display, window, "Stand-in");
    long pid = getpid();
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
    XSync(display, False);

    std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 0));
    if (early) {
        XCloseDisplay(display);
        return std::atoi(early);
    }
    XMapWindow(display, window);
    XFlush(display);
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 200);
    }
    XCloseDisplay(display);
    return 0;
}
