// bocavo-labo as a process: started as a user or a script would start it,
// with its output on pipes, devices or a terminal, interrupted by signals,
// or without a display.
#include "core/lab/files/series_csv.h"
#include "labo/files/csv_writer.h"
#include "labo/files/scenario_file.h"
#include "tests/scratch_dir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <pwd.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace bocavo::labo {
namespace {

namespace fs = std::filesystem;

struct Launch {
    explicit Launch(std::vector<std::string> arguments) : args(std::move(arguments)) {}
    std::vector<std::string> args;
    std::vector<std::string> unset;                       // environment variables removed
    std::vector<std::pair<std::string, std::string>> set; // and set
    std::string stdoutPath;    // appended to (`>>`); empty: a pipe read by the test
    bool closedStdout = false; // a pipe whose reader is already gone
    bool terminalStderr = false;
    bool asNobody = false;          // as the user nobody when the test runs as root
    std::uint64_t addressSpace = 0; // bytes of memory it may map, 0 for no limit
};

struct Outcome {
    int status = -1; // the exit status, or 1000 + a signal that killed it
    std::string out, err;
};

std::string drain(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);)
        if (n > 0)
            text.append(buffer, static_cast<std::size_t>(n));
    close(fd);
    return text;
}

int statusOf(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
}

pid_t start(const Launch& launch, int& outFd, int& errFd) {
    int out[2], err[2] = {-1, -1};
    if (pipe(out) != 0)
        return -1;
    int terminal = -1;
    if (launch.terminalStderr ? openpty(&errFd, &terminal, nullptr, nullptr, nullptr) != 0
                              : pipe(err) != 0)
        return -1;
    if (!launch.terminalStderr)
        errFd = err[0];
    if (launch.closedStdout)
        close(out[0]);
    const pid_t child = fork();
    if (child == 0) {
        for (const auto& name : launch.unset)
            unsetenv(name.c_str());
        for (const auto& [name, value] : launch.set)
            setenv(name.c_str(), value.c_str(), 1);
        signal(SIGPIPE, SIG_DFL);
        if (!launch.stdoutPath.empty())
            out[1] = open(launch.stdoutPath.c_str(), O_WRONLY | O_APPEND);
        const passwd* nobody = getpwnam("nobody");
        if (launch.asNobody && geteuid() == 0 &&
            (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
             setuid(nobody->pw_uid) != 0))
            _exit(126);
        const rlimit limit{launch.addressSpace, launch.addressSpace};
        if (launch.addressSpace && setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(126);
        dup2(out[1], STDOUT_FILENO);
        dup2(launch.terminalStderr ? terminal : err[1], STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(BOCAVO_LABO)};
        for (const auto& arg : launch.args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(BOCAVO_LABO, argv.data());
        _exit(127);
    }
    close(out[1]);
    close(launch.terminalStderr ? terminal : err[1]);
    outFd = launch.closedStdout ? -1 : out[0];
    return child;
}

Outcome run(const Launch& launch) {
    int outFd = -1, errFd = -1;
    const pid_t child = start(launch, outFd, errFd);
    Outcome r;
    std::thread errReader([&] { r.err = drain(errFd); }); // a pty reports EIO at the end
    if (outFd >= 0)
        r.out = drain(outFd);
    int raw = 0;
    waitpid(child, &raw, 0);
    errReader.join();
    r.status = statusOf(raw);
    return r;
}

const std::vector<std::string> kSmallRun{"--classes", "2", "--generations", "5", "--seed", "1"};

std::vector<std::string> smallRunTo(const std::string& csv) {
    auto args = kSmallRun;
    args.insert(args.end(), {"--csv", csv});
    return args;
}

TEST(ProcessTest, RowsGoToTheStandardOutputAndTheSummaryToErrors) {
    const ScratchDir dir;
    Experiment experiment(2, 1);
    experiment.advanceTo(5);
    ASSERT_TRUE(writeCsv({&experiment}, (dir / "expected.csv").string(), 1).written);
    for (const std::string target : {"-", "/dev/stdout"}) {
        const Outcome r = run(Launch(smallRunTo(target)));
        EXPECT_EQ(r.status, 0) << target << r.err;
        EXPECT_EQ(r.out, readAll(dir / "expected.csv")) << target;
        // The summary, then what theory expects (expected_test checks those).
        EXPECT_TRUE(r.err.starts_with("2 classes, générations 0 à 5 : 48 lignes écrites dans " +
                                      target + "\nattendu Ne : 19.5\n"))
            << r.err;
    }
    // The standard output redirected to a file: written there, never replaced.
    const fs::path redirected = dir / "sortie.csv";
    std::ofstream(redirected).close();
    const auto inode = [](const fs::path& path) {
        struct stat st {};
        stat(path.c_str(), &st);
        return st.st_ino;
    };
    const ino_t before = inode(redirected);
    Launch launch(smallRunTo("/dev/stdout"));
    launch.stdoutPath = redirected.string();
    EXPECT_EQ(run(launch).status, 0);
    EXPECT_EQ(readAll(redirected), readAll(dir / "expected.csv"));
    EXPECT_EQ(inode(redirected), before);
}

// A name for one of its own descriptors is where the shell pointed it: after
// what is there (`>>`), never replaced, with no scenario beside it.
TEST(ProcessTest, ANameForADescriptorIsWrittenInPlace) {
    const ScratchDir dir;
    Experiment experiment(2, 1);
    experiment.advanceTo(5);
    ASSERT_TRUE(writeCsv({&experiment}, (dir / "expected.csv").string(), 1).written);
    const fs::path journal = dir / "j.txt";
    for (const std::string target : {"/dev/fd/1", "/proc/self/fd/1"}) {
        std::ofstream(journal) << "A\nB\n";
        Launch launch(smallRunTo(target));
        launch.stdoutPath = journal.string();
        const Outcome r = run(launch);
        EXPECT_EQ(r.status, 0) << target;
        // The summary's first line, then only expected figures: no scenario written.
        EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1),
                  "2 classes, générations 0 à 5 : 48 lignes écrites dans " + target + "\n");
        EXPECT_EQ(r.err.find("Scénario"), std::string::npos) << r.err;
        EXPECT_EQ(readAll(journal), "A\nB\n" + readAll(dir / "expected.csv")) << target;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2) << target;
    }
}

// Eight runs writing one name at once, again and again: the scenario beside
// the file always reproduces the file.
TEST(ProcessTest, RunsToOneNameAtOnceLeaveAPairOfOneRun) {
    const ScratchDir dir;
    constexpr int kRuns = 8;
    constexpr int kRounds = 10;
    std::vector<std::string> expected;
    for (std::uint32_t seed = 1; seed <= kRuns; ++seed) {
        Experiment experiment(20, seed);
        experiment.advanceTo(200);
        const fs::path path = dir / ("graine" + std::to_string(seed) + ".csv");
        ASSERT_TRUE(writeCsv({&experiment}, path.string(), 1).written);
        expected.push_back(readAll(path));
        fs::remove(path);
    }
    const fs::path same = dir / "same.csv";
    int mismatched = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::tuple<pid_t, int, int>> children;
        for (int seed = 1; seed <= kRuns; ++seed) {
            int outFd = -1, errFd = -1;
            const pid_t child = start(Launch({"--classes", "20", "--generations", "200", "--seed",
                                              std::to_string(seed), "--csv", same.string()}),
                                      outFd, errFd);
            children.emplace_back(child, outFd, errFd);
        }
        for (const auto& [child, outFd, errFd] : children) {
            drain(outFd);
            EXPECT_EQ(drain(errFd), "");
            int raw = 0;
            waitpid(child, &raw, 0);
            EXPECT_EQ(statusOf(raw), 0);
        }
        const bocavo::Result<Scenario> beside = loadScenario(dir / "same.scenario");
        ASSERT_TRUE(beside) << beside.reason();
        const std::uint32_t seed = beside->seed;
        ASSERT_TRUE(seed >= 1 && seed <= kRuns) << seed;
        mismatched += readAll(same) != expected[seed - 1];
    }
    EXPECT_EQ(mismatched, 0) << "rounds whose scenario gives another file, of " << kRounds;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
}

// Each cause its own words: a loop of links, a folder it may not open, an
// empty file are not "missing"; a named pipe whose reader quits is not the
// standard output's silence.
TEST(ProcessTest, EachCauseIsSaidInItsOwnWords) {
    const ScratchDir dir;
    fs::create_symlink("boucle.scenario", dir / "boucle.scenario");
    std::ofstream(dir / "vide.scenario").close();
    fs::create_directory(dir / "ferme");
    std::ofstream(dir / "ferme/x.scenario") << scenarioText(Scenario{});
    fs::permissions(dir / "ferme", fs::perms::none);
    const std::string csv = (dir / "x.csv").string();
    const std::string cannot = "bocavo-labo : --scenario : Impossible de lire le scénario « ";
    struct Case {
        std::string scenario, said;
        bool asNobody = false; // root may open any folder
    };
    const std::vector<Case> cases{
        {(dir / "boucle.scenario").string(),
         cannot + (dir / "boucle.scenario").string() +
             " » : le chemin tourne en rond entre des liens symboliques.\n"},
        {(dir / "vide.scenario").string(),
         "bocavo-labo : --scenario : Scénario refusé : le fichier est vide.\n"},
        {(dir / "ferme/x.scenario").string(),
         cannot + (dir / "ferme/x.scenario").string() +
             " » : vous n'avez pas le droit d'ouvrir un des dossiers du chemin.\n",
         true},
    };
    for (const Case& c : cases) {
        Launch launch({"--scenario", c.scenario, "--csv", csv});
        launch.asNobody = c.asNobody;
        const Outcome r = run(launch);
        EXPECT_EQ(r.status, 2) << c.said;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.said);
    }

    const fs::path pipe = dir / "tube.csv";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::thread reader([&] { // reads the header, then goes away
        const int fd = open(pipe.c_str(), O_RDONLY | O_CLOEXEC);
        char header[16];
        EXPECT_GT(read(fd, header, sizeof header), 0);
        close(fd);
    });
    const Outcome early =
        run(Launch({"--classes", "100", "--generations", "2000", "--csv", pipe.string()}));
    reader.join();
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.err, "bocavo-labo : Impossible d'écrire le fichier « " + pipe.string() +
                             " » : le programme qui lisait s'est arrêté.\n");
}

// A run larger than the memory it may have says so in French, not as
// "std::bad_alloc". Under AddressSanitizer a process cannot start with its
// address space limited (the sanitizer reserves terabytes of it).
TEST(ProcessTest, ARunTooLargeForMemoryIsSaidSo) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs an unlimited address space";
#endif
    const ScratchDir dir;
    Launch launch({"--classes", "1000", "--individuals", "10000", "--generations", "2", "--csv",
                   (dir / "x.csv").string()});
    launch.addressSpace = 100u << 20; // the program and its libraries fit, the classes do not
    const Outcome r = run(launch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "bocavo-labo : La mémoire ne suffit pas pour cette simulation (1 000 classes "
                     "de 10 000 individus sur 2 générations) : essayez moins de classes, "
                     "d'individus ou de générations.\n");
    EXPECT_FALSE(fs::exists(dir / "x.csv"));
}

// Case 9: output that cannot be written is a failure, and a closed pipe ends the run silently.
TEST(ProcessTest, OutputThatCannotBeWrittenFails) {
    Launch help({"--help"});
    help.stdoutPath = "/dev/full";
    const Outcome helped = run(help);
    EXPECT_EQ(helped.status, 1);
    EXPECT_EQ(helped.err,
              "bocavo-labo : impossible d'écrire sur la sortie standard : le disque est "
              "plein.\n");
    const Outcome full = run(Launch(smallRunTo("/dev/full")));
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "bocavo-labo : Impossible d'écrire le fichier « /dev/full » : le disque "
                        "est plein.\n");
    for (const std::vector<std::string>& args :
         {smallRunTo("-"), std::vector<std::string>{"--help"}}) {
        Launch closed(args);
        closed.closedStdout = true;
        const Outcome r = run(closed);
        EXPECT_EQ(r.status, 141);
        EXPECT_EQ(r.err, "");
    }
}

// A series writes its rows where the lab's rows go: without --csv on the
// standard output, with its expected figures on the standard error; a refused
// series leaves an older file as it was; a full disk and a reader gone are
// told as for the lab's rows.
TEST(ProcessTest, ASeriesWritesItsRowsLikeTheLab) {
    const ScratchDir dir;
    const std::vector<std::string> series{"--classes", "10",    "--generations", "20",
                                          "--serie",   "10,20", "--model",       "wright-fisher"};
    const Outcome r = run(Launch(series));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(kSeriesCsvHeader)) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3) << r.out;
    EXPECT_TRUE(r.err.starts_with("2 tailles de 10 classes, générations 0 à 20 : 2 lignes écrites "
                                  "dans -\nattendu hétérozygotie à N = 10 : "))
        << r.err;
    EXPECT_NE(r.err.find("\nattendu part avec perte à N = 20 : "), std::string::npos) << r.err;

    const fs::path kept = dir / "serie.csv";
    std::ofstream(kept) << "ancien\n";
    auto tooMany = series; // "--classes 10" becomes "--classes 1001"
    tooMany[1] = "1001";
    tooMany.insert(tooMany.end(), {"--csv", kept.string()});
    EXPECT_EQ(run(Launch(tooMany)).status, 2);
    auto full = series;
    full.insert(full.end(), {"--csv", "/dev/full"});
    const Outcome failed = run(Launch(full));
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "bocavo-labo : Impossible d'écrire le fichier « /dev/full » : le disque "
                          "est plein.\n");
    EXPECT_EQ(readAll(kept), "ancien\n");

    Launch closed(series);
    closed.closedStdout = true;
    const Outcome gone = run(closed);
    EXPECT_EQ(gone.status, 141);
    EXPECT_EQ(gone.err, "");
}

// Case 6: interrupted while writing, the run removes its temporary file and
// reports the signal in its status; the old file is untouched.
TEST(ProcessTest, AnInterruptedExportLeavesNothingBehind) {
    const ScratchDir dir;
    const fs::path csv = dir / "res.csv";
    std::ofstream(csv) << "ancien";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        int outFd = -1, errFd = -1;
        const pid_t child = start(Launch({"--classes", "1000", "--generations", "8000", "--seed",
                                          "3", "--csv", csv.string()}),
                                  outFd, errFd);
        // Signalled as soon as its temporary file shows up: it is writing.
        bool writing = false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!writing && std::chrono::steady_clock::now() < deadline) {
            for (const auto& entry : fs::directory_iterator(dir.path()))
                writing = writing || entry.path().extension() == ".partiel";
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        EXPECT_TRUE(writing);
        kill(child, signal);
        int raw = 0;
        waitpid(child, &raw, 0);
        drain(outFd);
        drain(errFd);
        EXPECT_EQ(statusOf(raw), 128 + signal);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "signal " << signal;
        EXPECT_EQ(readAll(csv), "ancien");
    }
}

TEST(ProcessTest, ProgressShowsOnATerminalOnly) {
    const ScratchDir dir;
    Launch launch(smallRunTo((dir / "a.csv").string()));
    launch.args[3] = "3000";
    const Outcome piped = run(launch);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    launch.terminalStderr = true;
    const Outcome terminal = run(launch);
    EXPECT_EQ(terminal.status, 0);
    EXPECT_NE(terminal.err.find("\rGénération 3 000 (100 %)"), std::string::npos) << terminal.err;
    EXPECT_NE(terminal.err.find("\rÉcriture du fichier (100 %)"), std::string::npos);
}

// Without a display the window says so in French and shows the way without it;
// a stray argument never opens it.
TEST(ProcessTest, TheWindowNeedsADisplay) {
    const std::string said = "bocavo-labo : la fenêtre du laboratoire a besoin d'un écran";
    Launch bare({});
    bare.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    const Outcome none = run(bare);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err.rfind(said, 0), 0u) << none.err;
    EXPECT_NE(none.err.find("bocavo-labo --help"), std::string::npos);
    // A display named but out of reach: Qt's own failure, turned into the same words.
    Launch away({});
    away.unset = {"WAYLAND_DISPLAY"};
    away.set = {{"DISPLAY", ":97"}, {"QT_QPA_PLATFORM", "xcb"}};
    const Outcome unreachable = run(away);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.err.rfind(said, 0), 0u) << unreachable.err;
    Launch strayLaunch({"-classes", "3"});
    strayLaunch.unset = {"DISPLAY"};
    const Outcome stray = run(strayLaunch);
    EXPECT_EQ(stray.status, 2);
    EXPECT_EQ(stray.err.rfind("bocavo-labo : Argument inattendu : « -classes ».", 0), 0u);
}

} // namespace
} // namespace bocavo::labo
