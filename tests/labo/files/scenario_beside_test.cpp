// The scenario beside an exported CSV file: only a regular file gets one, it
// never replaces a file that says something else, and the CSV file stands
// when only its scenario cannot be written.
#include "labo/files/csv_writer.h"
#include "labo/files/scenario_file.h"
#include "tests/scratch_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

namespace fs = std::filesystem;

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.insert(entry.path().filename().string());
    return found;
}

// A small run, and the scenario that gives it.
struct SmallRun {
    explicit SmallRun(std::uint32_t seed) : experiment(2, seed) {
        plan.classes = 2;
        plan.generations = 3;
        plan.seed = seed;
        experiment.advanceTo(3);
    }
    CsvOutcome exportTo(const fs::path& path) const {
        return exportCsv({&experiment}, plan, path, 1);
    }
    Scenario plan;
    Experiment experiment;
};

// A descriptor of this process (as a shell's `>> j.txt` leaves one), a device
// and a named pipe are written in place, and get no scenario beside them.
TEST(ScenarioBesideTest, OnlyARegularFileGetsAScenarioBeside) {
    const ScratchDir dir;
    const SmallRun run(1);
    ASSERT_TRUE(writeCsv({&run.experiment}, dir / "rows.csv", 1).written);
    const std::string rows = readAll(dir / "rows.csv");
    fs::remove(dir / "rows.csv");

    const fs::path journal = dir / "j.txt";
    std::ofstream(journal) << "A\nB\n";
    const int fd = open(journal.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    for (const std::string name : {"/dev/fd/", "/proc/self/fd/"}) {
        const CsvOutcome outcome = run.exportTo(name + std::to_string(fd));
        EXPECT_TRUE(outcome.written) << name << outcome.error;
        EXPECT_TRUE(outcome.inPlace) << name;
        EXPECT_EQ(outcome.scenario, "") << name;
    }
    close(fd);
    EXPECT_EQ(readAll(journal), "A\nB\n" + rows + rows);

    const CsvOutcome device = run.exportTo("/dev/null");
    EXPECT_TRUE(device.written && device.inPlace && device.scenario.empty()) << device.error;
    EXPECT_FALSE(fs::exists("/dev/null.scenario"));
    const fs::path pipe = dir / "tube.csv";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readAll(pipe); });
    const CsvOutcome piped = run.exportTo(pipe);
    reader.join();
    EXPECT_TRUE(piped.written && piped.inPlace && piped.scenario.empty()) << piped.error;
    EXPECT_EQ(received, rows);
    EXPECT_EQ(names(dir.path()), (std::set<std::string>{"j.txt", "tube.csv"}));
}

// What may already be at derive.scenario, and what becomes of it.
TEST(ScenarioBesideTest, NeverReplacesAFileThatSaysSomethingElse) {
    const SmallRun run(1), earlier(7);
    Scenario withB = run.plan;
    withB.b = Settings{};
    const std::string lesson = "# Ma leçon de jeudi\n";
    const std::string besideEarlier = [&] { // as an export of the earlier run left it
        const ScratchDir dir;
        earlier.exportTo(dir / "derive.csv");
        return readAll(dir / "derive.scenario");
    }();
    struct Case {
        std::string what;
        std::string there;   // at derive.scenario, if anything
        std::string second;  // at derive-2.scenario, if anything
        bool secondsCsv;     // and derive-2.csv is there
        std::string written; // where the scenario that reproduces the file ends
        bool kept;           // it was already there
    };
    const std::vector<Case> cases{
        {"nothing there", "", "", false, "derive.scenario", false},
        {"the teacher's, that gives this file", lesson + scenarioText(withB), "", false,
         "derive.scenario", true},
        {"an earlier export's, untouched", besideEarlier, "", false, "derive.scenario", false},
        {"an earlier export's, with a comment added", besideEarlier + "# à revoir\n", "", false,
         "derive-2.scenario", false},
        {"the teacher's, for another run", lesson + scenarioText(earlier.plan), "", false,
         "derive-2.scenario", false},
        {"one saved from the window", scenarioText(earlier.plan), "", false, "derive-2.scenario",
         false},
        {"not a scenario at all", "notes de cours\n", "", false, "derive-2.scenario", false},
        {"the teacher's, and derive-2.csv's own", lesson, besideEarlier, true, "derive-3.scenario",
         false},
        {"the teacher's, and an earlier export's beside it", lesson, besideEarlier, false,
         "derive-2.scenario", false},
    };
    for (const Case& c : cases) {
        const ScratchDir dir;
        if (!c.there.empty())
            std::ofstream(dir / "derive.scenario") << c.there;
        if (!c.second.empty())
            std::ofstream(dir / "derive-2.scenario") << c.second;
        if (c.secondsCsv)
            std::ofstream(dir / "derive-2.csv") << "classe\n";
        const CsvOutcome outcome = run.exportTo(dir / "derive.csv");
        ASSERT_TRUE(outcome.written) << c.what << outcome.error;
        EXPECT_EQ(outcome.warning, "") << c.what;
        EXPECT_EQ(outcome.scenario, dir / c.written) << c.what;
        EXPECT_EQ(outcome.scenarioKept, c.kept) << c.what;
        const bool elsewhere = c.written != "derive.scenario";
        EXPECT_EQ(outcome.scenarioLeft, elsewhere ? dir / "derive.scenario" : fs::path()) << c.what;
        if (elsewhere || c.kept) {
            EXPECT_EQ(readAll(dir / "derive.scenario"), c.there) << c.what;
        }
        if (c.secondsCsv) {
            EXPECT_EQ(readAll(dir / "derive-2.scenario"), c.second) << c.what;
        }
        const Result<Scenario> reproducing = loadScenario(outcome.scenario);
        ASSERT_TRUE(reproducing) << c.what << reproducing.reason();
        EXPECT_TRUE(reproduces(*reproducing, run.plan)) << c.what;
    }
}

// A disk that fills once the CSV file is written: the file stands, the
// warning says what is missing, and the earlier run's scenario, which no
// longer goes with it, is taken away.
TEST(ScenarioBesideTest, AScenarioThatCannotBeWrittenLeavesTheFileAndNoStaleOne) {
    const ScratchDir dir;
    const SmallRun run(1), earlier(7);
    const fs::path disk = dir / "disque";
    fs::create_directory(disk);
    if (geteuid() != 0 || mount("bocavo", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small disk of its own needs root and a system that allows mounting";
    earlier.exportTo(disk / "res.csv");
    fs::remove(disk / "res.csv"); // the earlier scenario stays, alone
    ASSERT_TRUE(writeCsv({&run.experiment}, dir / "rows.csv", 1).written);
    const std::string rows = readAll(dir / "rows.csv");
    // Room for the new file's pages and nothing more.
    struct statvfs space {};
    statvfs(disk.c_str(), &space);
    const std::uint64_t page = space.f_frsize;
    const std::uint64_t room = (rows.size() + page - 1) / page * page;
    std::ofstream(disk / "plein", std::ios::binary)
        << std::string(space.f_bavail * page - room, 'x');
    const CsvOutcome outcome = run.exportTo(disk / "res.csv");
    const std::string written = readAll(disk / "res.csv");
    const auto left = names(disk);
    umount2(disk.c_str(), MNT_DETACH);
    EXPECT_TRUE(outcome.written) << outcome.error;
    EXPECT_EQ(written, rows);
    EXPECT_EQ(outcome.scenario, "");
    EXPECT_EQ(outcome.warning,
              "Attention : le fichier CSV est écrit, mais pas le scénario qui le reproduit. "
              "Impossible d'écrire le fichier « " +
                  (disk / "res.scenario").string() +
                  " » : le disque est plein. L'ancien scénario « " +
                  (disk / "res.scenario").string() +
                  " », qui décrivait une autre simulation, est supprimé.");
    EXPECT_EQ(left, (std::set<std::string>{"res.csv", "plein"}));
}

} // namespace
} // namespace bocavo::labo
