// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and close of the whole program, as a user meets them, beside a bare Qt Widgets program that shows
// one window of the same size and a plain form that shows the main window's controls, captions and fonts with
// nothing behind them: the bare window is what Qt costs, the plain form what our window's widgets cost, so a
// start-up's ratio to the plain form is what our own code adds. Each run is a fresh process in a virtual X server of
// the benchmark's own:
//   start-up   from the exec to the window mapped, painted (its first drawing, seen through the DAMAGE
//              extension) and answering the window manager's ping (_NET_WM_PING) from its event loop
//   close      from the window manager's request to close (WM_DELETE_WINDOW) to the process's exit, the
//              save of the search list included
// The program, the bare one and the plain form run in turn, many times, and the medians are compared: the
// machine is shared and noisy, so the ratio is the figure to quote.
//   bazaarly_process_bench [--smoke] [--repetitions N] [--program PATH] [--screenshots FOLDER]
// --smoke runs each program once on the smallest input, to keep the benchmark building and running; it judges
// no times. --program times another build of the program (a candidate change) in place of the one built
// beside the benchmark. --screenshots saves each window as it was when judged shown. Without Xvfb the benchmark
// says so and exits with 77 (skipped).

#include "BenchInputs.h"

#include "app/ProgramNames.h"
#include "searches/SearchQuery.h"
#include "searches/StoredSearches.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPoint>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kSkipped = 77;
constexpr auto kPatience = std::chrono::seconds(60);
const QString kSearchesKey = QStringLiteral("Searches");
// The middle of "Load Example/Sample Searches" in the main window.
constexpr QPoint kSampleButton(268, 631);

// What went wrong in a run; thrown, so that every started process is ended on the way out.
struct BenchFailure
{
    QString what;
};

[[noreturn]] void fail(const QString& what)
{
    throw BenchFailure{what};
}

// A started process: its id, and a descriptor that becomes readable when it ends.
class Child final
{
public:
    Child(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
          posix_spawn_file_actions_t* actions = nullptr)
    {
        std::vector<char*> argv = pointersTo(arguments);
        std::vector<char*> envp = pointersTo(environment);
        if (posix_spawnp(&m_pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0)
            fail(QStringLiteral("cannot start %1").arg(QString::fromStdString(arguments[0])));
        m_exited = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
        if (m_exited < 0)
            fail(QStringLiteral("pidfd_open failed"));
    }
    ~Child()
    {
        end(SIGKILL);
        close(m_exited);
    }
    // Sends the signal and waits until the process has ended; nothing once it has been ended.
    void end(int signal)
    {
        if (m_pid > 0) {
            kill(m_pid, signal);
            waitpid(m_pid, nullptr, 0);
            m_pid = 0;
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return m_pid; }
    int exitDescriptor() const { return m_exited; }

    // The exit status once the process has ended, or nothing when it is still running at the deadline.
    std::optional<int> waitUntil(Clock::time_point deadline)
    {
        pollfd exited{m_exited, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (poll(&exited, 1, std::max<int>(0, static_cast<int>(left.count()))) != 1)
            return std::nullopt;
        int status = 0;
        rusage usage{};
        wait4(std::exchange(m_pid, 0), &status, 0, &usage);
        m_cpuAtExit = Milliseconds(std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                                   std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec))
                          .count();
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The processor time the running process has used so far, all its threads together.
    double cpuMilliseconds() const
    {
        double nanoseconds = 0;
        const QDir threads(QStringLiteral("/proc/%1/task").arg(m_pid));
        for (const QString& thread : threads.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile schedulerStatistics(threads.filePath(thread + QStringLiteral("/schedstat")));
            if (schedulerStatistics.open(QIODevice::ReadOnly))
                nanoseconds += schedulerStatistics.readAll().split(' ').value(0).toDouble();
        }
        return nanoseconds / 1e6;
    }

    // The processor time the process used in all, once it has ended.
    double cpuMillisecondsAtExit() const { return m_cpuAtExit; }

private:
    static std::vector<char*> pointersTo(const std::vector<std::string>& strings)
    {
        std::vector<char*> pointers;
        for (const std::string& string : strings)
            pointers.push_back(const_cast<char*>(string.c_str()));
        pointers.push_back(nullptr);
        return pointers;
    }

    pid_t m_pid = 0;
    int m_exited = -1;
    double m_cpuAtExit = 0;
};

// A virtual X server for as long as this object lives, on a display of the range BAZAARLY_TEST_DISPLAYS gives
// ("first-last", 100-199 by default), tried from a place of this process's own in it: Xvfb ends at once on a
// display another server holds, and the next is tried. Ended with SIGTERM, it takes its socket and lock along.
class VirtualScreen final
{
public:
    VirtualScreen()
    {
        const char* range = std::getenv("BAZAARLY_TEST_DISPLAYS");
        int first = 100;
        int last = 199;
        if (range && std::sscanf(range, "%d-%d", &first, &last) != 2)
            fail(QStringLiteral("BAZAARLY_TEST_DISPLAYS is not a range such as 100-199"));
        const int count = last - first + 1;
        for (int i = 0; i < count && m_display.empty(); ++i)
            tryDisplay(first + (getpid() + i) % count);
        if (m_display.empty())
            fail(QStringLiteral("Xvfb did not start on any display of BAZAARLY_TEST_DISPLAYS"));
    }
    ~VirtualScreen() { m_server->end(SIGTERM); }
    VirtualScreen(const VirtualScreen&) = delete;
    VirtualScreen& operator=(const VirtualScreen&) = delete;

    const std::string& display() const { return m_display; }

private:
    void tryDisplay(int number)
    {
        int ready[2];
        if (pipe(ready) != 0)
            fail(QStringLiteral("pipe failed"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        m_server =
            std::make_unique<Child>(std::vector<std::string>{"Xvfb", ":" + std::to_string(number), "-displayfd", "3",
                                                             "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                                    std::vector<std::string>(environ, environ + countOf(environ)), &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(ready[1]);
        // Xvfb writes its display number once it accepts connections, and nothing when it ends at once.
        std::string written;
        char c = 0;
        pollfd readable{ready[0], POLLIN, 0};
        while (poll(&readable, 1, 10'000) == 1 && read(ready[0], &c, 1) == 1 && c != '\n')
            written += c;
        close(ready[0]);
        if (!written.empty())
            m_display = ":" + written;
        else
            m_server->end(SIGKILL); // one that never got ready holds no display
    }

    static size_t countOf(char** strings)
    {
        size_t count = 0;
        while (strings[count])
            ++count;
        return count;
    }

    std::unique_ptr<Child> m_server;
    std::string m_display;
};

// What the benchmark asks of the X server: to hear when a program's window is mapped, and to speak to it as a
// window manager would.
class WindowManagerSide final
{
public:
    explicit WindowManagerSide(const std::string& display)
    {
        m_connection = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection))
            fail(QStringLiteral("cannot connect to the X server"));
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // Top-level maps arrive as SubstructureNotify; ping answers are sent to the root with StructureNotify.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_protocols = atom("WM_PROTOCOLS");
        m_ping = atom("_NET_WM_PING");
        m_delete = atom("WM_DELETE_WINDOW");
        m_pid = atom("_NET_WM_PID");
        const xcb_query_extension_reply_t* damage = xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (!damage || !damage->present)
            fail(QStringLiteral("the X server has no DAMAGE extension"));
        m_damageEvent = damage->first_event;
        std::free(xcb_damage_query_version_reply(m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
    }
    ~WindowManagerSide() { xcb_disconnect(m_connection); }
    WindowManagerSide(const WindowManagerSide&) = delete;
    WindowManagerSide& operator=(const WindowManagerSide&) = delete;

    // The first top-level window of the process that is mapped and drawn on before the deadline; 0 when none
    // is, or the process ends first. Qt's windows have no background of the server's, so the first drawing is
    // the program's first paint.
    xcb_window_t waitForPaintedWindowOf(const Child& process, Clock::time_point deadline)
    {
        xcb_window_t mapped = 0;
        std::set<xcb_window_t> drawnOn;
        while (auto event = nextEvent(deadline, process.exitDescriptor())) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                // Watched from its creation, so that no drawing can come before the watch.
                const auto* created = reinterpret_cast<const xcb_create_notify_event_t*>(event.get());
                if (created->parent == m_root)
                    xcb_damage_create(m_connection, xcb_generate_id(m_connection), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(m_connection);
            } else if (type == XCB_MAP_NOTIFY) {
                const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
                if (map->event == m_root && !map->override_redirect && pidOf(map->window) == process.pid())
                    mapped = map->window;
            } else if (type == m_damageEvent + XCB_DAMAGE_NOTIFY) {
                drawnOn.insert(reinterpret_cast<const xcb_damage_notify_event_t*>(event.get())->drawable);
            }
            if (mapped && drawnOn.count(mapped))
                return mapped;
        }
        return 0;
    }

    // True when the window's program answers a ping before the deadline.
    bool ping(xcb_window_t window, Clock::time_point deadline)
    {
        const uint32_t serial = ++m_pingSerial;
        sendProtocolMessage(window, m_ping, serial);
        while (auto event = nextEvent(deadline)) {
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                continue;
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
            if (answer->window == m_root && answer->type == m_protocols && answer->data.data32[0] == m_ping &&
                answer->data.data32[1] == serial)
                return true;
        }
        return false;
    }

    // The window's picture as the X server holds it; a null image when it cannot be read.
    QImage grab(xcb_window_t window)
    {
        const auto geometryCookie = xcb_get_geometry(m_connection, window);
        const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
            xcb_get_geometry_reply(m_connection, geometryCookie, nullptr), &std::free);
        if (!geometry || geometry->depth != 24)
            return {};
        const auto imageCookie = xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, geometry->width,
                                               geometry->height, ~0u);
        const std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
            xcb_get_image_reply(m_connection, imageCookie, nullptr), &std::free);
        if (!image || xcb_get_image_data_length(image.get()) != geometry->width * geometry->height * 4)
            return {};
        return QImage(xcb_get_image_data(image.get()), geometry->width, geometry->height, QImage::Format_RGB32).copy();
    }

    // True when the program has handled a click at `x`, `y` in the window, made by xdotool through XTEST
    // as a user's would be, before the deadline; the pointer then leaves the window.
    bool click(xcb_window_t window, int x, int y, const std::vector<std::string>& environment,
               Clock::time_point deadline)
    {
        Child xdotool({"xdotool", "mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y),
                       "click", "1", "mousemove", "0", "0"},
                      environment);
        return xdotool.waitUntil(deadline) == 0 && ping(window, deadline);
    }

    // Asks the window's program to close it, as the title bar's close button does.
    void askToClose(xcb_window_t window) { sendProtocolMessage(window, m_delete, XCB_CURRENT_TIME); }

private:
    using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

    // The next event; none at the deadline, or once `ended` (a process's exit descriptor) becomes readable.
    Event nextEvent(Clock::time_point deadline, int ended = -1)
    {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
                return Event(event, &std::free);
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd readable[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {ended, POLLIN, 0}};
            if (left.count() <= 0 || poll(readable, 2, static_cast<int>(left.count())) < 1 || readable[1].revents)
                return Event(nullptr, &std::free);
        }
    }

    void sendProtocolMessage(xcb_window_t window, xcb_atom_t protocol, uint32_t stamp)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = protocol;
        message.data.data32[1] = stamp;
        message.data.data32[2] = window;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    xcb_atom_t atom(const char* name)
    {
        const auto cookie = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply)
            fail(QStringLiteral("cannot intern %1").arg(QLatin1String(name)));
        return reply->atom;
    }

    pid_t pidOf(xcb_window_t window)
    {
        const auto cookie = xcb_get_property(m_connection, 0, window, m_pid, XCB_ATOM_CARDINAL, 0, 1);
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return 0;
        return static_cast<pid_t>(*static_cast<const uint32_t*>(xcb_get_property_value(reply.get())));
    }

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_protocols = 0;
    xcb_atom_t m_ping = 0;
    xcb_atom_t m_delete = 0;
    xcb_atom_t m_pid = 0;
    uint32_t m_pingSerial = 0;
    uint8_t m_damageEvent = 0;
};

// One program as the benchmark runs it: a copy of its folder with its own list.txt, and the stored search list
// each run starts from.
struct Subject
{
    QString name;
    QString executable;
    QString settingsFile; // empty for the bare program, which keeps none
    QString storedValue;
    QString label;                // what the table calls its input
    const char* startUpGoal = ""; // nullptr: its start-up is another's, so not shown again
    const char* closeGoal = "";
    bool addsASearch = false; // changes the list before closing, so that the close has something to write
    QString valueAfterClose;  // what the store must hold once the program has ended
};

// Milliseconds per run: on the clock, and of processor time, which waiting for a busy machine does not swell.
struct Timings
{
    std::vector<double> startUp;
    std::vector<double> close;
    std::vector<double> startUpCpu;
    std::vector<double> closeCpu;
};

// A folder holding a copy of `executable` and the given data files beside it.
QString programFolderCopy(const QString& folder, const QString& executable, const QStringList& dataFiles)
{
    QDir().mkpath(folder);
    const QStringList files = QStringList(dataFiles) << executable;
    for (const QString& file : files) {
        const QString copy = folder + QLatin1Char('/') + QFileInfo(file).fileName();
        if (!QFile::copy(file, copy))
            fail(QStringLiteral("cannot copy %1").arg(file));
    }
    return folder + QLatin1Char('/') + QFileInfo(executable).fileName();
}

Subject programWith(const QString& root, const QString& executable, const QString& name, const QString& catalogue,
                    int searches)
{
    const QString folder = root + QLatin1Char('/') + name;
    const QString programFolder = folder + QStringLiteral("/program");
    Subject subject;
    subject.name = name;
    subject.settingsFile = folder + QStringLiteral("/stored.conf");
    subject.storedValue = storedValueOf(searchesOf(searches));
    subject.valueAfterClose = subject.storedValue;
    QDir().mkpath(programFolder);
    if (!QFile::copy(catalogue, programFolder + QStringLiteral("/list.txt")))
        fail(QStringLiteral("cannot copy %1").arg(catalogue));
    subject.executable =
        programFolderCopy(programFolder, executable, {QStringLiteral(BAZAARLY_PROGRAM_DIR "/HAND-M.CUR")});
    QSettings stored(subject.settingsFile, QSettings::IniFormat);
    stored.setValue(kSearchesKey, subject.storedValue);
    stored.sync();
    return subject;
}

// A stand-in for the desktop's opener: a home page the program opens now and then is noted, not shown.
QString writeOpenerStandIn(const QString& folder)
{
    QDir().mkpath(folder);
    QFile opener(folder + QStringLiteral("/xdg-open"));
    if (!opener.open(QIODevice::WriteOnly) || opener.write("#!/bin/sh\necho \"$@\" >> \"$HOME/opened.txt\"\n") < 0)
        fail(QStringLiteral("cannot write the opener stand-in"));
    opener.setPermissions(opener.permissions() | QFile::ExeOwner);
    return folder;
}

// Where a desktop session keeps its runtime folder: in memory (/run/user/N is a tmpfs). The benchmark's own
// session's, else the shared memory folder; the runs' folder on disk only where neither is.
QString memoryFolderFor(const QString& runsFolder)
{
    for (const QString& candidate : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")}) {
        const QFileInfo folder(candidate);
        if (!candidate.isEmpty() && folder.isDir() && folder.isWritable())
            return candidate;
    }
    return runsFolder;
}

// A home, configuration and runtime folder of the run's own, so that no run sees another's files or locks. The
// home is on disk, where a user's settings are written and synced; the runtime folder is in memory, as a desktop
// session's is. On a disk file system that has just deleted many files, as the benchmark does after each run,
// making a file is slow (ext4 passes over recently freed entries), which cost the program's socket folder and
// socket time that no session's runtime folder costs.
std::vector<std::string> runEnvironment(const QString& runFolder, const QString& runtime, const std::string& display,
                                        const QString& opener)
{
    const QString home = runFolder + QStringLiteral("/home");
    QDir().mkpath(home + QStringLiteral("/.config"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    std::vector<std::string> environment = {"DISPLAY=" + display,
                                            "HOME=" + home.toStdString(),
                                            "XDG_CONFIG_HOME=" + home.toStdString() + "/.config",
                                            "XDG_RUNTIME_DIR=" + runtime.toStdString(),
                                            "PATH=" + opener.toStdString() + ":/usr/local/bin:/usr/bin:/bin",
                                            "LANG=C.UTF-8",
                                            "QT_QPA_PLATFORM=xcb"};
    // A sanitized build's programs keep the options the suite runs with (the leaks it ignores, for one).
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (qEnvironmentVariableIsSet(name))
            environment.push_back(std::string(name) + '=' + qgetenv(name).toStdString());
    }
    return environment;
}

// Checks, after the run, that the close stored the whole list again.
void checkStoredList(const Subject& subject, const QString& runFolder)
{
    if (subject.settingsFile.isEmpty())
        return;
    const QString path = ProgramNames::settingsFileIn(runFolder + QStringLiteral("/home/.config"));
    if (QSettings(path, QSettings::IniFormat).value(kSearchesKey).toString() != subject.valueAfterClose)
        fail(QStringLiteral("%1 did not store its search list whole on closing").arg(subject.name));
}

class Runner final
{
public:
    Runner(const QString& root, const std::string& display, const QString& screenshots)
        : m_root(root), m_runtimeRoot(memoryFolderFor(root) + QStringLiteral("/bazaarly-bench-XXXXXX")),
          m_display(display), m_windows(display), m_screenshots(screenshots)
    {
        if (!m_runtimeRoot.isValid())
            fail(QStringLiteral("cannot make a runtime folder in %1").arg(memoryFolderFor(root)));
        m_opener = writeOpenerStandIn(root + QStringLiteral("/opener"));
    }

    // Starts the program, waits until its window answers, closes it and waits for its exit.
    void run(const Subject& subject, Timings& timings)
    {
        const QString runFolder = m_root + QStringLiteral("/run-%1").arg(++m_runs);
        const QString runtime = m_runtimeRoot.filePath(QStringLiteral("run-%1").arg(m_runs));
        const std::vector<std::string> environment = runEnvironment(runFolder, runtime, m_display, m_opener);
        if (!subject.settingsFile.isEmpty()) {
            const QString stored = ProgramNames::settingsFileIn(runFolder + QStringLiteral("/home/.config"));
            QDir().mkpath(QFileInfo(stored).absolutePath());
            QFile::copy(subject.settingsFile, stored);
        }
        const std::string log = (runFolder + QStringLiteral("/output.txt")).toStdString();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);

        const Clock::time_point started = Clock::now();
        Child program({subject.executable.toStdString()}, environment, &actions);
        posix_spawn_file_actions_destroy(&actions);
        const Clock::time_point deadline = started + kPatience;
        const xcb_window_t window = m_windows.waitForPaintedWindowOf(program, deadline);
        if (!window || !m_windows.ping(window, deadline))
            fail(QStringLiteral("%1 showed no painted, answering window; its output is in %2")
                     .arg(subject.name, QString::fromStdString(log)));
        const Clock::time_point answered = Clock::now();
        const double startUpCpu = program.cpuMilliseconds();
        if (!m_screenshots.isEmpty())
            m_windows.grab(window).save(m_screenshots + QLatin1Char('/') + subject.name + QStringLiteral(".png"));

        if (subject.addsASearch &&
            !m_windows.click(window, kSampleButton.x(), kSampleButton.y(), environment, deadline))
            fail(QStringLiteral("%1 did not take the click on its sample button").arg(subject.name));

        const Clock::time_point closing = Clock::now();
        m_windows.askToClose(window);
        const std::optional<int> status = program.waitUntil(closing + kPatience);
        const Clock::time_point ended = Clock::now();
        if (status != 0)
            fail(QStringLiteral("%1 did not end cleanly on closing; its output is in %2")
                     .arg(subject.name, QString::fromStdString(log)));
        checkStoredList(subject, runFolder);
        if (QFile::exists(runFolder + QStringLiteral("/home/opened.txt")))
            ++m_homePagesOpened;
        timings.startUp.push_back(Milliseconds(answered - started).count());
        timings.close.push_back(Milliseconds(ended - closing).count());
        timings.startUpCpu.push_back(startUpCpu);
        timings.closeCpu.push_back(program.cpuMillisecondsAtExit() - startUpCpu);
        QDir(runFolder).removeRecursively();
        QDir(runtime).removeRecursively();
    }

    int homePagesOpened() const { return m_homePagesOpened; }

private:
    QString m_root;
    QTemporaryDir m_runtimeRoot;
    std::string m_display;
    WindowManagerSide m_windows;
    QString m_screenshots;
    QString m_opener;
    int m_runs = 0;
    int m_homePagesOpened = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// One figure of the table, the median of a subject's runs beside the same median of the two floors.
struct Figure
{
    const std::vector<double>& subject;
    const std::vector<double>& bare;
    const std::vector<double>& plain;
};

// A row's columns for one figure: the median, then the bare program's and the plain form's with the ratio to each.
void printFigure(const Figure& figure)
{
    const double ms = median(figure.subject);
    const double bare = median(figure.bare);
    const double plain = median(figure.plain);
    std::printf(" %8.1f %8.1f %6.2fx %8.1f %6.2fx", ms, bare, ms / bare, plain, ms / plain);
}

void printRow(const QString& what, const Figure& clock, const Figure& cpu, const char* goal)
{
    std::printf("%-52s", qPrintable(what));
    printFigure(clock);
    printFigure(cpu);
    std::printf("  %s\n", goal);
}

void printTable(int repetitions, int homePagesOpened, const std::vector<Subject>& programs,
                const std::vector<Timings>& programTimings, const Timings& bare, const Timings& plain)
{
    std::printf("\nwhole processes under Xvfb, %d runs each in turn, medians (%d home pages opened)\n", repetitions,
                homePagesOpened);
    std::printf("%-52s %8s %8s %7s %8s %7s %8s %8s %7s %8s %7s  %s\n", "benchmark", "ms", "bare ms", "ratio", "plain",
                "ratio", "CPU ms", "bare", "ratio", "plain", "ratio", "goal");
    printRow(QStringLiteral("start-up, plain form"), {plain.startUp, bare.startUp, plain.startUp},
             {plain.startUpCpu, bare.startUpCpu, plain.startUpCpu}, "(the floor)");
    for (size_t i = 0; i < programs.size(); ++i) {
        const Timings& timings = programTimings[i];
        if (programs[i].startUpGoal)
            printRow(QStringLiteral("start-up, ") + programs[i].label, {timings.startUp, bare.startUp, plain.startUp},
                     {timings.startUpCpu, bare.startUpCpu, plain.startUpCpu}, programs[i].startUpGoal);
    }
    printRow(QStringLiteral("close, plain form"), {plain.close, bare.close, plain.close},
             {plain.closeCpu, bare.closeCpu, plain.closeCpu}, "");
    for (size_t i = 0; i < programs.size(); ++i) {
        const Timings& timings = programTimings[i];
        printRow(QStringLiteral("close, ") + programs[i].label, {timings.close, bare.close, plain.close},
                 {timings.closeCpu, bare.closeCpu, plain.closeCpu}, programs[i].closeGoal);
    }
}

void runBenchmark(const QStringList& arguments, const QString& root)
{
    const bool smoke = arguments.contains(QStringLiteral("--smoke"));
    const auto option = [&arguments](const char* name) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at > 0 ? arguments.value(at + 1) : QString();
    };
    const int repetitions = smoke ? 1 : option("--repetitions").isEmpty() ? 41 : option("--repetitions").toInt();
    const QString program = option("--program").isEmpty() ? QStringLiteral(BAZAARLY_EXECUTABLE) : option("--program");
    const int warmUps = smoke ? 0 : 2;

    const QString shipped = QStringLiteral(BAZAARLY_PROGRAM_DIR "/list.txt");
    Subject bare;
    bare.name = QStringLiteral("bare window");
    bare.executable = programFolderCopy(root + QStringLiteral("/bare"), QStringLiteral(BAZAARLY_BARE_WINDOW), {});
    Subject plain;
    plain.name = QStringLiteral("plain form");
    plain.executable = programFolderCopy(root + QStringLiteral("/plain"), QStringLiteral(BAZAARLY_PLAIN_FORM), {});
    std::vector<Subject> programs;
    const auto add = [&](const QString& name, const QString& catalogue, int searches, const char* label,
                         const char* startUpGoal) {
        programs.push_back(programWith(root, program, name, catalogue, searches));
        programs.back().label = QLatin1String(label);
        programs.back().startUpGoal = startUpGoal;
    };
    // The same start with one search added before the close, so that the close has a changed list to write.
    const auto addChanged = [&](const QString& name, const QString& catalogue, int searches, const char* label) {
        add(name, catalogue, searches, label, nullptr);
        programs.back().addsASearch = true;
        programs.back().valueAfterClose = storedValueOf(searchesOf(searches) << kSampleQuery);
    };
    add(QStringLiteral("shipped"), shipped, 1'000, "shipped catalogue, 1000 searches", "at most 1.15x plain");
    if (!smoke) {
        add(QStringLiteral("shipped-empty"), shipped, 0, "shipped catalogue, no searches", "at most 1.15x plain");
        const QString large = writeCatalogue(root + QStringLiteral("/large.txt"), 100'000);
        add(QStringLiteral("large"), large, 30'000, "100000 locations, 30000 searches", "at most 2.5x plain");
        // The least the program loads without a report: its window with one location.
        add(QStringLiteral("least"), writeCatalogue(root + QStringLiteral("/least.txt"), 1), 0,
            "1 location, no searches", "(our window with nothing to load)");
        addChanged(QStringLiteral("shipped-changed"), shipped, 1'000, "shipped catalogue, 1000+1 searches, changed");
        programs.back().closeGoal = "at most 1.5x bare";
        addChanged(QStringLiteral("large-changed"), large, 30'000, "100000 locations, 30000+1 searches, changed");
    }

    const VirtualScreen screen;
    Runner runner(root, screen.display(), option("--screenshots"));
    Timings bareTimings;
    Timings plainTimings;
    std::vector<Timings> programTimings(programs.size());
    for (int repetition = 0; repetition < warmUps + repetitions; ++repetition) {
        Timings discarded;
        const bool counted = repetition >= warmUps;
        // In turn, so that whatever else the machine is doing falls on all of them alike.
        runner.run(bare, counted ? bareTimings : discarded);
        runner.run(plain, counted ? plainTimings : discarded);
        for (size_t i = 0; i < programs.size(); ++i)
            runner.run(programs[i], counted ? programTimings[i] : discarded);
    }
    printTable(repetitions, runner.homePagesOpened(), programs, programTimings, bareTimings, plainTimings);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        std::puts("bazaarly_process_bench: Xvfb is not installed; skipped");
        return kSkipped;
    }
    QTemporaryDir root;
    try {
        runBenchmark(QCoreApplication::arguments(), root.path());
        return EXIT_SUCCESS;
    } catch (const BenchFailure& failure) {
        root.setAutoRemove(false);
        std::fprintf(stderr, "bazaarly_process_bench: %s (the runs' files are kept in %s)\n", qPrintable(failure.what),
                     qPrintable(root.path()));
        return EXIT_FAILURE;
    }
}
