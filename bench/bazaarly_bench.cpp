// SPDX-License-Identifier: GPL-3.0-or-later
// Speed and memory of the program's parts beside baselines measured in the same run, so that the ratio, not
// the machine, is the figure to quote. Start-up and close are measured on whole processes by
// bazaarly_process_bench.
//   bazaarly_bench            every benchmark at every size, then the memory figure for a million-line catalogue
//   bazaarly_bench --smoke    each benchmark once on its smallest input (keeps them building and running)
// Inputs are generated here, deterministically, into a temporary folder.

#include "BenchInputs.h"

#include "app/ErrorTrap.h"
#include "app/ProgramNames.h"
#include "catalogue/LocationCatalogue.h"
#include "platform/controls/ListView.h"
#include "platform/desktop/Environment.h"
#include "platform/storage/SettingsStore.h"
#include "searches/SearchListCommands.h"
#include "searches/StoredSearches.h"
#include "ui/Form1.h"
#include "ui/SearchListWidgets.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

bool g_smoke = false;

// A program folder and settings file of the benchmark's own; reports are counted, nothing is opened.
class World
{
public:
    World(int catalogueLines, int savedSearches)
    {
        m_folder.setAutoRemove(true);
        writeCatalogue(m_folder.filePath(QStringLiteral("list.txt")), catalogueLines);
        SettingsStore(settingsPath(), ProgramNames::settingsStore())
            .writeText(QStringLiteral("Searches"), storedValueOf(searchesOf(savedSearches)));
    }

    QString settingsPath() const { return m_folder.filePath(QStringLiteral("settings.ini")); }
    QString cataloguePath() const { return m_folder.filePath(QStringLiteral("list.txt")); }

    Environment environment()
    {
        Environment environment;
        environment.applicationFolder = m_folder.path();
        environment.showErrorReport = [this](QWidget*, const QString& text) {
            ++reports;
            std::fprintf(stderr, "unexpected report: %s\n", qPrintable(text));
        };
        environment.openUrl = [](const QUrl&, QObject&, const OpeningDone& done) { done(std::nullopt); };
        environment.drawHomePageNumber = [] { return 1; };
        m_settings = std::make_unique<SettingsStore>(settingsPath(), ProgramNames::settingsStore());
        environment.settings = [this]() -> SettingsStore& { return *m_settings; };
        return environment;
    }

    int reports = 0;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<SettingsStore> m_settings;
};

void showAndSettle(QWidget& window)
{
    window.show();
    QCoreApplication::processEvents();
}

void filterKeystroke(benchmark::State& state)
{
    World world(int(state.range(0)), 0);
    Form1 window(world.environment());
    LocationFilterRebuild filter;
    bool upper = false;
    for (auto _ : state) {
        // The rebuild itself, which the window runs once the keys waiting are taken, into the window's list.
        filter.rebuild(world.cataloguePath(), (upper = !upper) ? QStringLiteral("VILLE") : QStringLiteral("ville"),
                       window.ListView1->listModel());
    }
    if (window.ListView1->count() != (state.range(0) + 9) / 10 || world.reports)
        state.SkipWithError("the filter listed the wrong locations");
}

void grepCount(benchmark::State& state)
{
    World world(int(state.range(0)), 0);
    for (auto _ : state) {
        // Its count read through a pipe: GNU grep stops at the first match when its output is /dev/null.
        QProcess grep;
        grep.start(QStringLiteral("grep"), {QStringLiteral("-Fic"), QStringLiteral("ville"), world.cataloguePath()});
        if (!grep.waitForFinished() || grep.exitCode() != 0 ||
            grep.readAllStandardOutput().toInt() != (state.range(0) + 9) / 10)
            state.SkipWithError("grep failed");
    }
}

void saveAndRestore(benchmark::State& state)
{
    const int count = int(state.range(0));
    World world(0, 0);
    const Environment environment = world.environment();
    QWidget window;
    QLineEdit searchBox(&window);
    ListView locations(&window);
    ListView searches(&window);
    searches.addColumn(QStringLiteral("Searches"));
    {
        ListModel::Batch batch(searches.listModel());
        for (const QString& query : searchesOf(count))
            batch.append(query);
    }
    SearchListWidgets widgets(searchBox, locations, searches);
    SearchListCommands commands(window, widgets.searchBox, widgets.locations(), widgets.searches(), environment);
    const ErrorTrap startUp(QStringLiteral("Form_Load"), environment.showErrorReport, &window);
    for (auto _ : state) {
        commands.saveSearches();
        searches.listModel().clear();
        commands.restoreSearches(startUp);
    }
    if (searches.count() != count || world.reports)
        state.SkipWithError("the list did not come back whole");
}

// The settings store alone, with the value the program would store: what Qt's own writer and reader cost.
void settingsWriteAndRead(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    const QString value = storedValueOf(searchesOf(int(state.range(0))));
    for (auto _ : state) {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), value);
        settings.sync();
        benchmark::DoNotOptimize(settings.value(QStringLiteral("Searches")).toString());
    }
}

// The figures, paired with their baselines at the end of the run.
struct Pair
{
    std::string subject;
    std::string baseline;
    const char* goal;
};

class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(std::vector<Pair> pairs) : ConsoleReporter(OO_Tabular), m_pairs(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred)
                m_milliseconds[key(run)] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-34s %12s %12s %8s  %s\n", "benchmark", "ms", "baseline ms", "ratio", "goal");
        for (const Pair& pair : m_pairs) {
            const auto subject = m_milliseconds.find(pair.subject);
            const auto baseline = m_milliseconds.find(pair.baseline);
            if (subject == m_milliseconds.end() || baseline == m_milliseconds.end())
                continue;
            std::printf("%-34s %12.3f %12.3f %7.2fx  %s\n", pair.subject.c_str(), subject->second, baseline->second,
                        subject->second / baseline->second, pair.goal);
        }
    }

private:
    static std::string key(const Run& run)
    {
        const std::string& arguments = run.run_name.args;
        return run.run_name.function_name + (arguments.empty() ? "" : "/" + arguments);
    }

    std::vector<Pair> m_pairs;
    std::map<std::string, double> m_milliseconds;
};

long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Peak memory with a catalogue loaded, above the bare window's own peak, against the file's size.
void reportMemory(int lines)
{
    World world(lines, 0);
    const double fileKilobytes = double(QFile(world.cataloguePath()).size()) / 1024.0;
    {
        QWidget bare;
        bare.resize(536, 652);
        showAndSettle(bare);
    }
    const long bareKilobytes = peakResidentKilobytes();
    Form1 window(world.environment());
    showAndSettle(window);
    const long loadedKilobytes = peakResidentKilobytes();
    if (lines != window.ListView1->count() || world.reports)
        qFatal("the catalogue did not load whole");
    std::printf("\npeak memory, %d-line catalogue (%.1f MiB): %.1f MiB above the bare window (%.1f MiB): %.2fx the "
                "file's size (goal: at most 4x)\n",
                lines, fileKilobytes / 1024.0, double(loadedKilobytes - bareKilobytes) / 1024.0,
                double(bareKilobytes) / 1024.0, double(loadedKilobytes - bareKilobytes) / fileKilobytes);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::vector<char*> arguments(argv, argv + argc);
    if (arguments.size() > 1 && std::strcmp(arguments[1], "--smoke") == 0) {
        g_smoke = true;
        arguments.erase(arguments.begin() + 1);
    }
    if (arguments.size() > 1 && std::strcmp(arguments[1], "--memory") == 0) {
        reportMemory(arguments.size() > 2 ? std::atoi(arguments[2]) : 1'000'000);
        return 0;
    }

    const std::vector<int> catalogueSizes =
        g_smoke ? std::vector<int>{1'000} : std::vector<int>{1'000, 100'000, 1'000'000};
    const std::vector<int> listSizes = g_smoke ? std::vector<int>{1'000} : std::vector<int>{1'000, 100'000, 1'000'000};
    std::vector<Pair> pairs;
    const auto configure = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Unit(benchmark::kMillisecond)->UseRealTime();
        if (g_smoke)
            benchmark->Iterations(1);
    };
    for (const int lines : catalogueSizes) {
        configure(benchmark::RegisterBenchmark("filter", filterKeystroke)->Arg(lines));
        configure(benchmark::RegisterBenchmark("grep -Fic", grepCount)->Arg(lines));
        pairs.push_back({"filter/" + std::to_string(lines), "grep -Fic/" + std::to_string(lines),
                         lines == 100'000 ? "at most 2x" : "linear"});
    }
    for (const int count : listSizes) {
        configure(benchmark::RegisterBenchmark("save+restore", saveAndRestore)->Arg(count));
        configure(benchmark::RegisterBenchmark("QSettings alone", settingsWriteAndRead)->Arg(count));
        const std::string size = std::to_string(count);
        pairs.push_back({"save+restore/" + size, "QSettings alone/" + size, "linear"});
    }

    int benchmarkArgc = int(arguments.size());
    benchmark::Initialize(&benchmarkArgc, arguments.data());
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // Peak memory is measured in a process of its own, which has run nothing else before.
    std::fflush(stdout);
    QProcess memory;
    memory.setProcessChannelMode(QProcess::ForwardedChannels);
    memory.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--memory"), QString::number(g_smoke ? 1'000 : 1'000'000)});
    return memory.waitForFinished(-1) && memory.exitCode() == 0 ? 0 : 1;
}
