// bocavo-labo as a process: started as a user or a script would start it,
// with its output on pipes, devices or a terminal, interrupted by signals,
// or without a display.
#include "labo/model/csv_writer.h"
#include "scratch_dir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pty.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

namespace fs = std::filesystem;

struct Launch {
    explicit Launch(std::vector<std::string> arguments) : args(std::move(arguments)) {}
    std::vector<std::string> args;
    std::vector<std::string> unset;                       // environment variables removed
    std::vector<std::pair<std::string, std::string>> set; // and set
    std::string stdoutPath;                               // empty: a pipe read by the test
    bool closedStdout = false;                            // a pipe whose reader is already gone
    bool terminalStderr = false;
};

struct Result {
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
            out[1] = open(launch.stdoutPath.c_str(), O_WRONLY);
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

Result run(const Launch& launch) {
    int outFd = -1, errFd = -1;
    const pid_t child = start(launch, outFd, errFd);
    Result r;
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
        const Result r = run(Launch(smallRunTo(target)));
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

// Case 9: output that cannot be written is a failure, and a closed pipe ends the run silently.
TEST(ProcessTest, OutputThatCannotBeWrittenFails) {
    Launch help({"--help"});
    help.stdoutPath = "/dev/full";
    const Result helped = run(help);
    EXPECT_EQ(helped.status, 1);
    EXPECT_EQ(helped.err,
              "bocavo-labo : impossible d'écrire sur la sortie standard : le disque est "
              "plein.\n");
    const Result full = run(Launch(smallRunTo("/dev/full")));
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "bocavo-labo : Impossible d'écrire le fichier « /dev/full » : le disque "
                        "est plein.\n");
    for (const std::vector<std::string>& args :
         {smallRunTo("-"), std::vector<std::string>{"--help"}}) {
        Launch closed(args);
        closed.closedStdout = true;
        const Result r = run(closed);
        EXPECT_EQ(r.status, 141);
        EXPECT_EQ(r.err, "");
    }
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
    const Result piped = run(launch);
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    launch.terminalStderr = true;
    const Result terminal = run(launch);
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
    const Result none = run(bare);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err.rfind(said, 0), 0u) << none.err;
    EXPECT_NE(none.err.find("bocavo-labo --help"), std::string::npos);
    // A display named but out of reach: Qt's own failure, turned into the same words.
    Launch away({});
    away.unset = {"WAYLAND_DISPLAY"};
    away.set = {{"DISPLAY", ":97"}, {"QT_QPA_PLATFORM", "xcb"}};
    const Result unreachable = run(away);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_EQ(unreachable.err.rfind(said, 0), 0u) << unreachable.err;
    Launch strayLaunch({"-classes", "3"});
    strayLaunch.unset = {"DISPLAY"};
    const Result stray = run(strayLaunch);
    EXPECT_EQ(stray.status, 2);
    EXPECT_EQ(stray.err.rfind("bocavo-labo : Argument inattendu : « -classes ».", 0), 0u);
}

} // namespace
} // namespace bocavo::labo
