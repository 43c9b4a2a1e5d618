// The folder tree against a bare listing of the same folder: opening a folder of 10,000 sub
// folders, and building the drive level.
//
//   build/bench/bench_dirtree --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "components/DirTree.h"
#include "toolkit/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr int SubFolders = 10'000;

// A machine whose home folder holds 10,000 sub folders in mixed case, every other one with a
// sub folder of its own (so that probing finds one in half of them and looks through the other
// half to the end), and whose root holds a mount table with the root alone.
class BigFolder {
public:
    BigFolder() {
        QDir root(dir_.path());
        root.mkpath("proc/self");
        QFile table(root.filePath("proc/self/mountinfo"));
        if (table.open(QIODevice::WriteOnly))
            table.write("20 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
        root.mkpath("home");
        for (int i = 0; i < SubFolders; ++i) {
            const QString name = QString(i % 3 ? "Folder %1" : "folder %1").arg(i * 7919 % 100'003);
            root.mkpath(i % 2 ? "home/" + name + "/Inner" : "home/" + name);
        }
    }
    QString home() const { return dir_.path() + "/home"; }
    platform::Machine machine() const { return {dir_.path(), home()}; }

private:
    QTemporaryDir dir_;
};

const BigFolder &big() {
    static const BigFolder folder;
    return folder;
}

// What Qt's own listing takes for the folders, sorted by name.
void QDirListing(benchmark::State &state) {
    for (auto _ : state) {
        const QStringList names =
            QDir(big().home()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        benchmark::DoNotOptimize(names.size());
    }
}
BENCHMARK(QDirListing)->Unit(benchmark::kMillisecond);

// Measures `open` on the big home folder of a tree read afresh each time, in a view the size of
// the browse-for-folder dialog's.
template <typename Open> void OpenHome(benchmark::State &state, Open open) {
    TDirTree tree;
    tree.SetMachine(big().machine());
    tree.resize(292, 292);
    tree.show();
    for (auto _ : state) {
        state.PauseTiming();
        tree.ReadDrives();
        QTreeWidgetItem *home = tree.topLevelItem(0);
        state.ResumeTiming();
        open(tree, home);
        benchmark::DoNotOptimize(home->childCount());
    }
}

// Opening the home folder in the tree: listing, filtering, sorting by the locale, a node for
// each sub folder, the view's layout, and a look into each sub folder in view for a sub folder
// of its own.
void ExpandFolder(benchmark::State &state) {
    OpenHome(state, [](TDirTree &tree, QTreeWidgetItem *home) { tree.expandItem(home); });
}
BENCHMARK(ExpandFolder)->Unit(benchmark::kMillisecond);

// The same folder read without the view and without a look into any sub folder.
void ReadChildrenOnly(benchmark::State &state) {
    OpenHome(state, [](TDirTree &tree, QTreeWidgetItem *home) { tree.ReadChildren(home); });
}
BENCHMARK(ReadChildrenOnly)->Unit(benchmark::kMillisecond);

// What opening the folder would cost if every sub folder were looked into at once, rather than
// those in view: the reason the tree does not.
void ProbeEverySubFolder(benchmark::State &state) {
    OpenHome(state, [](TDirTree &tree, QTreeWidgetItem *home) {
        tree.ReadChildren(home);
        for (int i = 0; i < home->childCount(); ++i)
            tree.ProbeSubDirs(home->child(i));
    });
}
BENCHMARK(ProbeEverySubFolder)->Unit(benchmark::kMillisecond);

// The drive level of the machine above: the home folder and the root, each probed.
void ReadDrives(benchmark::State &state) {
    TDirTree tree;
    tree.SetMachine(big().machine());
    tree.show();
    for (auto _ : state)
        tree.ReadDrives();
}
BENCHMARK(ReadDrives)->Unit(benchmark::kMillisecond);

// The drive level of the machine the benchmark runs on.
void ReadDrivesHere(benchmark::State &state) {
    TDirTree tree;
    tree.show();
    for (auto _ : state)
        tree.ReadDrives();
}
BENCHMARK(ReadDrivesHere)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    toolkit::Application app(argc, argv);
    big(); // made before any measurement
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
