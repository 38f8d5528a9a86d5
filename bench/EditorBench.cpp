// The training data editor on large datasets: the time from opening a file
// until both grids are drawn, a scroll step, and the peak memory, for 8
// inputs and 2 outputs per pair. Each size runs in a child process of its
// own, so the peak memory of one size is not that of the previous one.
// Beside it, a text import of 100,000 lines of 10 values from the toolbar
// button until both grids are drawn, against opening the same dataset from
// its binary file.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include <QApplication>
#include <QAction>
#include <QScrollBar>

#include "bench/Machine.h"
#include "data/uData.h"
#include "data/uMatEdit.h"
#include "files/DatasetFile.h"
#include "files/TextDataset.h"
#include "platform/gui/Prompts.h"

namespace {

constexpr int kInputs = 8;
constexpr int kOutputs = 2;

struct Figures {
    double readSeconds = 0;    // the file into two matrices, nothing else
    double openSeconds = 0;    // the editor's open until both grids are drawn
    double scrollSeconds = 0;  // one scroll step to the middle, drawn
    long baseKiB = 0;          // peak resident size before the open
    long peakKiB = 0;          // peak resident size after it
    bool ok = false;
};

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

std::string datasetFile(int pairs)
{
    const std::string name = "/tmp/corvalith-editor-bench-" + std::to_string(pairs) + ".nld";
    TMatrix inputs(pairs, kInputs), outputs(pairs, kOutputs);
    for (int p = 0; p < pairs; ++p) {
        for (int c = 0; c < kInputs; ++c)
            inputs.SetItem(p, c, (p % 1000) / 7.0L + c);
        for (int c = 0; c < kOutputs; ++c)
            outputs.SetItem(p, c, -(p % 997) / 3.0L - c);
    }
    std::string error;
    if (!WriteDatasetFile(name, inputs, outputs, error))
        std::fprintf(stderr, "%s\n", error.c_str());
    return name;
}

void drawn(TDataForm& form)
{
    form.InputEditor->Grid->viewport()->repaint();
    form.OutputEditor->Grid->viewport()->repaint();
    QApplication::processEvents();
}

Figures measureInChild(const std::string& file)
{
    Figures f;
    int argc = 1;
    char name[] = "corvalith_editor_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TDataForm form;
    form.show();
    drawn(form);
    f.baseKiB = peakKiB();
    auto start = std::chrono::steady_clock::now();
    form.ReadDataset(QString::fromStdString(file));
    drawn(form);
    f.openSeconds = seconds(start);
    QScrollBar* bar = form.InputEditor->Grid->verticalScrollBar();
    start = std::chrono::steady_clock::now();
    bar->setValue(bar->maximum() / 2);
    drawn(form);
    f.scrollSeconds = seconds(start);
    f.peakKiB = peakKiB();
    // The bare reader last, so that its memory is not in the editor's peak.
    TMatrix in, out;
    std::string error;
    start = std::chrono::steady_clock::now();
    if (ReadDatasetFile(file, in, out, error) != DatasetReadResult::Loaded)
        return f;
    f.readSeconds = seconds(start);
    f.ok = form.InputMatrix().Rows() > 0 && form.OutputEditor->Grid->topRow() == form.InputEditor->Grid->topRow();
    return f;
}

void BM_EditorOpenToDrawn(benchmark::State& state)
{
    const int pairs = int(state.range(0));
    const std::string file = datasetFile(pairs);
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            const Figures f = measureInChild(file);
            const ssize_t written = write(pipeEnds[1], &f, sizeof f);
            _exit(written == ssize_t(sizeof f) ? 0 : 1);
        }
        close(pipeEnds[1]);
        Figures f;
        const ssize_t got = read(pipeEnds[0], &f, sizeof f);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (got != ssize_t(sizeof f) || !f.ok) {
            state.SkipWithError("the child did not finish");
            return;
        }
        state.SetIterationTime(f.openSeconds);
        const double dataMiB = double(pairs) * (kInputs + kOutputs) * sizeof(double) / (1 << 20);
        state.counters["file_MiB"] = dataMiB;
        state.counters["read_ms"] = f.readSeconds * 1e3;
        state.counters["open_per_read"] = f.openSeconds / f.readSeconds;
        state.counters["scroll_ms"] = f.scrollSeconds * 1e3;
        state.counters["peak_MiB"] = f.peakKiB / 1024.0;
        state.counters["growth_MiB"] = (f.peakKiB - f.baseKiB) / 1024.0;
        state.counters["growth_per_file"] = pairs >= 100000 ? (f.peakKiB - f.baseKiB) / 1024.0 / dataMiB : 0;
    }
    std::remove(file.c_str());
}

BENCHMARK(BM_EditorOpenToDrawn)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Answers the import's questions at once: the file, then OK in the dialog.
class ImportPrompts : public Prompts {
public:
    explicit ImportPrompts(QString file) : file_(std::move(file)) {}
    void error(const QString& text) override { errors += text; }
    void warning(const QString&) override {}
    void information(const QString&) override {}
    bool confirm(const QString&) override { return true; }
    bool inputQuery(const QString&, const QString&, QString&) override { return false; }
    QString openFileName(const QString&, const QString&) override { return file_; }
    QString saveFileName(const QString&, const QString&, const QString&, bool) override { return {}; }
    bool runModal(QDialog&) override { return true; }
    QString errors;

private:
    QString file_;
};

struct ImportFigures {
    double importSeconds = 0;  // the button until both grids are drawn
    double parseSeconds = 0;   // the text into two matrices, nothing else
    double openSeconds = 0;    // the binary file's open until both grids are drawn
    bool ok = false;
};

ImportFigures measureImportInChild(const std::string& csv, const std::string& nld)
{
    ImportFigures f;
    int argc = 1;
    char name[] = "corvalith_editor_bench";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    {
        TDataForm form;
        form.show();
        drawn(form);
        ImportPrompts prompts(QString::fromStdString(csv));
        Prompts* previous = installPrompts(&prompts);
        auto start = std::chrono::steady_clock::now();
        form.actImportText->trigger();
        drawn(form);
        f.importSeconds = seconds(start);
        installPrompts(previous);
        f.ok = prompts.errors.isEmpty() && form.InputMatrix().Rows() > 0;
    }
    {
        TDataForm form;
        form.show();
        drawn(form);
        auto start = std::chrono::steady_clock::now();
        form.ReadDataset(QString::fromStdString(nld));
        drawn(form);
        f.openSeconds = seconds(start);
    }
    TTextTable table;
    TMatrix in, out;
    std::string error;
    auto start = std::chrono::steady_clock::now();
    f.ok = f.ok && ReadTextTable(csv, table, error) && SplitTextTable(table, kOutputs, in, out);
    f.parseSeconds = seconds(start);
    return f;
}

void BM_EditorImportTextToDrawn(benchmark::State& state)
{
    const int pairs = int(state.range(0));
    const std::string nld = datasetFile(pairs);
    const std::string csv = "/tmp/corvalith-editor-bench-" + std::to_string(pairs) + ".csv";
    {
        TMatrix in, out;
        std::string error;
        if (ReadDatasetFile(nld, in, out, error) != DatasetReadResult::Loaded || !WriteTextDataset(csv, in, out, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    for (auto _ : state) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            const ImportFigures f = measureImportInChild(csv, nld);
            const ssize_t written = write(pipeEnds[1], &f, sizeof f);
            _exit(written == ssize_t(sizeof f) ? 0 : 1);
        }
        close(pipeEnds[1]);
        ImportFigures f;
        const ssize_t got = read(pipeEnds[0], &f, sizeof f);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (got != ssize_t(sizeof f) || !f.ok) {
            state.SkipWithError("the child did not finish");
            return;
        }
        state.SetIterationTime(f.importSeconds);
        std::FILE* file = std::fopen(csv.c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        state.counters["csv_MiB"] = double(std::ftell(file)) / (1 << 20);
        std::fclose(file);
        state.counters["parse_ms"] = f.parseSeconds * 1e3;
        state.counters["nld_open_ms"] = f.openSeconds * 1e3;
        state.counters["import_per_nld_open"] = f.importSeconds / f.openSeconds;
    }
    std::remove(nld.c_str());
    std::remove(csv.c_str());
}

BENCHMARK(BM_EditorImportTextToDrawn)->Arg(100000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    printMachine();
    benchmark::AddCustomContext("cpu", cpuDescription());
    benchmark::AddCustomContext("qt_platform", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
