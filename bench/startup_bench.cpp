// Starts the game and the bare Qt program in turns under one X display and
// measures, for each: the time from process start until its first "Quimbra"
// window is mapped (the name prompt on screen), the peak resident memory, and
// the CPU time used per minute while idle (the game playing with its clock
// running, the bare program with its prompt open). The first round warms the
// caches and is not counted; medians are printed.
//
//   startup_bench <rounds> <idle-seconds> <bare-program> <game-program> [<game-switch>...]

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double startMs = 0;
    double peakAtMapMiB = 0;
    double peakAtPromptMiB = 0;
    double peakMiB = 0;
    double idleCpuPerMinute = 0;
};

class Display {
  public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) {
            std::fprintf(stderr, "cannot open the X display\n");
            std::exit(2);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        netWmName_ = atom("_NET_WM_NAME");
        netWmPid_ = atom("_NET_WM_PID");
        xcb_flush(connection_);
    }
    ~Display() { xcb_disconnect(connection_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    void drain() {
        while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
            std::free(e);
        }
    }

    // Waits until pid maps a window titled title; false on timeout.
    bool waitForWindow(pid_t pid, const std::string& title, std::chrono::seconds timeout) {
        const auto deadline = Clock::now() + timeout;
        pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(connection_)) {
                const bool mapped = (e->response_type & 0x7F) == XCB_MAP_NOTIFY;
                xcb_window_t window = 0;
                if (mapped) {
                    xcb_map_notify_event_t map;
                    std::memcpy(&map, e, sizeof map);
                    window = map.window;
                }
                std::free(e);
                if (mapped && property(window, netWmPid_) == std::to_string(pid) &&
                    property(window, netWmName_) == title) {
                    return true;
                }
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            poll(&fd, 1, static_cast<int>(std::max<long long>(1, left.count())));
        }
        return false;
    }

  private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t a = reply != nullptr ? reply->atom : 0;
        std::free(reply);
        return a;
    }

    // A text property as text, a CARDINAL as its decimal value.
    std::string property(xcb_window_t window, xcb_atom_t name) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string value;
        if (reply != nullptr) {
            const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
            const int length = xcb_get_property_value_length(reply);
            if (reply->type == XCB_ATOM_CARDINAL && length >= 4) {
                std::uint32_t number = 0;
                std::memcpy(&number, data, 4);
                value = std::to_string(number);
            } else {
                value.assign(data, static_cast<std::size_t>(length));
            }
            std::free(reply);
        }
        return value;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_atom_t netWmName_ = 0;
    xcb_atom_t netWmPid_ = 0;
};

double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name may hold blanks: count fields after its closing ')'.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    double utime = 0;
    double stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) {
            utime = std::stod(field);
        } else if (i == 15) {
            stime = std::stod(field);
        }
    }
    return (utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double peakMiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

pid_t launch(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void keys(const char* sequence) {
    const std::string command = std::string("xdotool key --clearmodifiers ") + sequence;
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "xdotool failed: %s\n", sequence);
    }
}

std::optional<Sample> measure(Display& display, const std::vector<std::string>& command, bool game,
                              int idleSeconds) {
    const std::string& program = command.front();
    display.drain();
    const auto start = Clock::now();
    const pid_t pid = launch(command);
    Sample s;
    bool ok = display.waitForWindow(pid, "Quimbra", std::chrono::seconds(30));
    s.startMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (ok) {
        // As the prompt appears, and once it has settled (the game builds
        // its window behind it meanwhile).
        s.peakAtMapMiB = peakMiB(pid);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        s.peakAtPromptMiB = peakMiB(pid);
        if (game) {
            // Name, then the greeting: the game window comes up and its clock runs.
            keys("B e n c h Return");
            ok = display.waitForWindow(pid, "Quimbra", std::chrono::seconds(10));
            keys("Return");
        }
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double before = cpuSeconds(pid);
        std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
        s.idleCpuPerMinute = (cpuSeconds(pid) - before) * 60.0 / idleSeconds;
        s.peakMiB = peakMiB(pid);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (!ok) {
        std::fprintf(stderr, "%s: no window\n", program.c_str());
        return std::nullopt;
    }
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Column {
    std::vector<double> start, mapped, prompt, peak, cpu;
    void add(const Sample& s) {
        start.push_back(s.startMs);
        mapped.push_back(s.peakAtMapMiB);
        prompt.push_back(s.peakAtPromptMiB);
        peak.push_back(s.peakMiB);
        cpu.push_back(s.idleCpuPerMinute);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: startup_bench <rounds> <idle-seconds> <bare> <game> [<switch>...]\n");
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    const int idle = std::max(1, std::atoi(argv[2]));
    const std::vector<std::string> bare{argv[3]};
    const std::vector<std::string> game(argv + 4, argv + argc);
    Display display;
    Column bareColumn;
    Column gameColumn;
    for (int round = 0; round <= rounds; ++round) {
        const auto b = measure(display, bare, false, round == 0 ? 1 : idle);
        const auto g = measure(display, game, true, round == 0 ? 1 : idle);
        if (!b || !g) {
            return 1;
        }
        if (round == 0) {
            continue;  // warm-up
        }
        std::printf(
            "round %d: bare %.0f ms %.1f MiB %.3f s/min | game %.0f ms %.1f/%.1f/%.1f MiB %.3f "
            "s/min\n",
            round, b->startMs, b->peakMiB, b->idleCpuPerMinute, g->startMs, g->peakAtMapMiB,
            g->peakAtPromptMiB, g->peakMiB, g->idleCpuPerMinute);
        std::fflush(stdout);
        bareColumn.add(*b);
        gameColumn.add(*g);
    }
    std::printf("\nmedians of %d rounds (idle %d s)\n", rounds, idle);
    std::printf("%-28s %12s %12s %8s\n", "", "bare Qt", "Quimbra", "ratio");
    const auto row = [](const char* what, const std::vector<double>& b,
                        const std::vector<double>& g, const char* format) {
        const double mb = median(b);
        const double mg = median(g);
        std::printf("%-28s ", what);
        std::printf(format, mb);
        std::printf(" ");
        std::printf(format, mg);
        std::printf(" %8.2f\n", mb > 0 ? mg / mb : 0.0);
    };
    row("start to name prompt (ms)", bareColumn.start, gameColumn.start, "%12.0f");
    // Each round's game beside the bare program started just before it: the
    // machine's load changes less within a round than across rounds.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < gameColumn.start.size(); ++i) {
        ratios.push_back(gameColumn.start[i] / bareColumn.start[i]);
    }
    std::printf("%-28s %12s %12s %8.2f\n", "  the rounds' ratios", "", "", median(ratios));
    row("peak memory prompt shown", bareColumn.mapped, gameColumn.mapped, "%12.1f");
    row("peak memory at prompt (MiB)", bareColumn.prompt, gameColumn.prompt, "%12.1f");
    row("peak memory after idle (MiB)", bareColumn.peak, gameColumn.peak, "%12.1f");
    row("idle CPU (s per minute)", bareColumn.cpu, gameColumn.cpu, "%12.3f");
    return 0;
}
