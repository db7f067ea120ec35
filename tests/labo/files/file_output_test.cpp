// Every export writes through FileOutput: on the real file system, in a
// private folder per test, a file is replaced whole or not at all, nothing it
// does not own is ever touched, and each failure says why in French.
#include "labo/files/file_output.h"
#include "labo/files/pending_files.h"
#include "tests/scratch_dir.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <set>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder))
        found.insert(entry.path().filename().string());
    return found;
}

mode_t modeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

std::string failureFor(const fs::path& path, const std::string& reason) {
    return "Impossible d'écrire le fichier « " + path.string() + " » : " + reason + ".";
}

// Runs `body` in a child process and returns what it returns: as the user
// nobody when this test runs as root (root may write anything), else as is.
std::string inChild(const std::function<std::string()>& body, bool asNobody) {
    int channel[2];
    if (pipe(channel) != 0)
        return "pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const passwd* nobody = getpwnam("nobody");
        if (asNobody && (!nobody || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
                         setuid(nobody->pw_uid) != 0))
            _exit(3);
        const std::string said = body();
        (void)!write(channel[1], said.data(), said.size());
        _exit(0);
    }
    close(channel[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<std::size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return said;
}

bool isRoot() {
    return geteuid() == 0;
}

// Case 1: the temporary file is new and its own; nothing else is trusted.
TEST(FileOutputTest, NeverTrustsOrTouchesAFileNamedLikeItsTemporary) {
    const ScratchDir dir;
    fs::create_directory(dir / "r");
    writeText(dir / "precious.txt", "précieux");
    fs::create_symlink(dir / "precious.txt", dir / "r/res.csv.partiel");
    writeText(dir / "r/other.csv.partiel", "à garder");
    fs::create_directory(dir / "r/dir.csv.partiel");

    EXPECT_EQ(writeWholeFile((dir / "r/res.csv").string(), "nouveau").reason(), "");
    EXPECT_EQ(writeWholeFile((dir / "r/other.csv").string(), "autre").reason(), "");
    EXPECT_EQ(writeWholeFile((dir / "r/dir.csv").string(), "encore").reason(), "");
    EXPECT_EQ(readAll(dir / "precious.txt"), "précieux");
    EXPECT_TRUE(S_ISREG(modeOf(dir / "r/res.csv")));
    EXPECT_EQ(readAll(dir / "r/res.csv"), "nouveau");
    EXPECT_EQ(readAll(dir / "r/other.csv.partiel"), "à garder");
    EXPECT_EQ(readAll(dir / "r/dir.csv"), "encore");
    EXPECT_EQ(names(dir / "r"),
              (std::set<std::string>{"res.csv", "res.csv.partiel", "other.csv", "other.csv.partiel",
                                     "dir.csv", "dir.csv.partiel"}));

    // A folder's name, with or without its slash: refused, and nothing in it touched.
    fs::create_directory(dir / "d");
    writeText(dir / "d/.partiel", "garde");
    EXPECT_EQ(writeWholeFile((dir / "d").string() + "/", "x").reason(),
              failureFor((dir / "d").string() + "/", "ce nom désigne un dossier, pas un fichier"));
    EXPECT_EQ(writeWholeFile((dir / "d").string(), "x").reason(),
              failureFor(dir / "d", "ce nom est celui d'un dossier"));
    EXPECT_EQ(names(dir / "d"), std::set<std::string>{".partiel"});
}

// Case 2: devices and pipes are written in place, never replaced.
TEST(FileOutputTest, WritesDevicesAndPipesInPlace) {
    const ScratchDir dir;
    EXPECT_EQ(writeWholeFile("/dev/full", "x").reason(),
              failureFor("/dev/full", "le disque est plein"));
    EXPECT_TRUE(S_ISCHR(modeOf("/dev/full")));

    const fs::path pipePath = dir / "p.csv";
    ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readAll(pipePath); });
    const std::string rows(200'000, 'r'); // more than a pipe holds at once
    EXPECT_EQ(writeWholeFile(pipePath.string(), rows).reason(), "");
    reader.join();
    EXPECT_EQ(received, rows);
    EXPECT_TRUE(S_ISFIFO(modeOf(pipePath)));
    EXPECT_EQ(names(dir.path()), std::set<std::string>{"p.csv"});
    // Nobody reading: the wait for a reader ends on cancel, never stuck.
    std::atomic<bool> cancel{false};
    FileOutput unread(pipePath.string(), &cancel);
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        cancel = true;
    });
    EXPECT_FALSE(unread.open());
    canceller.join();
    EXPECT_TRUE(unread.cancelled());
    EXPECT_EQ(unread.error(), "");
    // A reader that opens the pipe and never reads: the write, with a cancel to
    // look at, waits for room only until cancelled, and a slow reader still
    // gets every byte.
    for (const bool reads : {false, true}) {
        cancel = false;
        const int held = ::open(pipePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(held, 0);
        FileOutput stalled(pipePath.string(), &cancel);
        ASSERT_TRUE(stalled.open());
        std::string drained;
        std::thread other([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (!reads) {
                cancel = true;
                return;
            }
            fcntl(held, F_SETFL, fcntl(held, F_GETFL) & ~O_NONBLOCK);
            char chunk[4096];
            for (ssize_t n; drained.size() < rows.size() && (n = ::read(held, chunk, 4096)) > 0;)
                drained.append(chunk, static_cast<std::size_t>(n));
        });
        const auto start = std::chrono::steady_clock::now();
        const bool written = stalled.write(rows) && stalled.commit();
        other.join();
        ::close(held);
        EXPECT_EQ(written, reads);
        EXPECT_EQ(stalled.cancelled(), !reads);
        if (reads)
            EXPECT_EQ(drained, rows);
        else // generous: the wait looks at the cancel every 50 ms
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }

    if (!isRoot())
        GTEST_SKIP() << "device nodes in the test's folder need root (mknod)";
    ASSERT_EQ(mknod((dir / "null.csv").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod((dir / "full.csv").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(writeWholeFile((dir / "null.csv").string(), "48 lignes").reason(), "");
    EXPECT_EQ(writeWholeFile((dir / "full.csv").string(), "48 lignes").reason(),
              failureFor(dir / "full.csv", "le disque est plein"));
    fs::create_symlink(dir / "full.csv", dir / "lien.csv");
    EXPECT_EQ(writeWholeFile((dir / "lien.csv").string(), "x").reason(),
              failureFor(dir / "lien.csv", "le disque est plein"));
    EXPECT_TRUE(S_ISCHR(modeOf(dir / "null.csv")));
    EXPECT_TRUE(S_ISCHR(modeOf(dir / "full.csv")));
    EXPECT_TRUE(S_ISLNK(modeOf(dir / "lien.csv")));
}

// Case 3: two exports to one name at once: each its own temporary, the file
// ends as one of them whole.
TEST(FileOutputTest, TwoExportsToOneNameNeverMix) {
    const ScratchDir dir;
    const std::string path = (dir / "same.csv").string();
    FileOutput a(path), b(path);
    ASSERT_TRUE(a.open());
    ASSERT_TRUE(b.open());
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(a.write(std::string(1000, 'a')));
        ASSERT_TRUE(b.write(std::string(1000, 'b')));
    }
    EXPECT_EQ(names(dir.path()).size(), 2u); // two temporaries
    ASSERT_TRUE(a.commit());
    EXPECT_EQ(readAll(path), std::string(100'000, 'a'));
    ASSERT_TRUE(b.commit());
    EXPECT_EQ(readAll(path), std::string(100'000, 'b'));
    EXPECT_EQ(names(dir.path()), std::set<std::string>{"same.csv"});
}

// Case 4: a file the user may not write is refused; one they may keeps its permissions.
TEST(FileOutputTest, RefusesProtectedFilesAndKeepsPermissions) {
    const ScratchDir dir;
    fs::permissions(dir.path(), fs::perms::all); // the folder itself is writable by anyone
    writeText(dir / "lecture.csv", "protégé");
    fs::permissions(dir / "lecture.csv", fs::perms(0444));
    writeText(dir / "autre.csv", "à un autre");
    const std::string refused = "vous n'avez pas le droit de modifier ce fichier";
    // Another user's file needs root to make; as root, the child is that other user.
    const bool root = isRoot();
    const std::string said = inChild(
        [&] {
            return writeWholeFile((dir / "lecture.csv").string(), "x").reason() + "|" +
                   (root ? writeWholeFile((dir / "autre.csv").string(), "x").reason() : "");
        },
        root);
    EXPECT_EQ(said, failureFor(dir / "lecture.csv", refused) + "|" +
                        (root ? failureFor(dir / "autre.csv", refused) : ""));
    EXPECT_EQ(readAll(dir / "lecture.csv"), "protégé");
    EXPECT_EQ(modeOf(dir / "lecture.csv") & 07777, 0444u);
    EXPECT_EQ(readAll(dir / "autre.csv"), "à un autre");
    EXPECT_EQ(names(dir.path()), (std::set<std::string>{"lecture.csv", "autre.csv"}));

    // Writable: replaced, with its mode (and, for root, its owner) kept.
    writeText(dir / "groupe.csv", "avant");
    fs::permissions(dir / "groupe.csv", fs::perms(0640));
    if (isRoot()) {
        ASSERT_EQ(chown((dir / "groupe.csv").c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(writeWholeFile((dir / "groupe.csv").string(), "après").reason(), "");
    EXPECT_EQ(readAll(dir / "groupe.csv"), "après");
    struct stat st {};
    ASSERT_EQ(stat((dir / "groupe.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (isRoot()) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
}

// Case 4, continued: through a symbolic link, the file it names is replaced and the link stays.
TEST(FileOutputTest, WritesThroughSymbolicLinks) {
    const ScratchDir dir;
    fs::create_directory(dir / "data");
    writeText(dir / "data/real.csv", "ancien");
    fs::permissions(dir / "data/real.csv", fs::perms(0604));
    fs::create_symlink("data/real.csv", dir / "link.csv"); // relative, as ln -s makes them
    fs::create_symlink("link.csv", dir / "link2.csv");
    EXPECT_EQ(writeWholeFile((dir / "link2.csv").string(), "nouveau").reason(), "");
    EXPECT_TRUE(S_ISLNK(modeOf(dir / "link.csv")));
    EXPECT_TRUE(S_ISLNK(modeOf(dir / "link2.csv")));
    EXPECT_EQ(readAll(dir / "data/real.csv"), "nouveau");
    EXPECT_EQ(modeOf(dir / "data/real.csv") & 07777, 0604u);
    // A link to a name not yet made makes that file.
    fs::create_symlink("data/later.csv", dir / "dangling.csv");
    EXPECT_EQ(writeWholeFile((dir / "dangling.csv").string(), "créé").reason(), "");
    EXPECT_EQ(readAll(dir / "data/later.csv"), "créé");
    EXPECT_EQ(names(dir / "data"), (std::set<std::string>{"real.csv", "later.csv"}));
}

// Case 5: a name the file system accepts is never refused for its length.
TEST(FileOutputTest, LongNamesAreRefusedOnlyWhenTheSystemRefusesThem) {
    const ScratchDir dir;
    const fs::path longest = dir / (std::string(250, 'n') + ".csv"); // 254 characters
    EXPECT_EQ(writeWholeFile(longest.string(), "long").reason(), "");
    EXPECT_EQ(readAll(longest), "long");
    const fs::path tooLong = dir / (std::string(252, 'n') + ".csv");
    EXPECT_EQ(writeWholeFile(tooLong.string(), "x").reason(),
              failureFor(tooLong, "le nom est trop long"));
    EXPECT_EQ(names(dir.path()).size(), 1u);
    // A pasted page as a name: the message shows its end only.
    const std::string page = std::string(131'000, 'p') + "/fin.csv";
    EXPECT_EQ(writeWholeFile(page, "x").reason(),
              failureFor("…" + page.substr(page.size() - 320), "le nom est trop long"));
}

// Case 8: each failure in words, on the name the user typed.
TEST(FileOutputTest, EachFailureHasItsOwnReason) {
    const ScratchDir dir;
    writeText(dir / "plain.txt", "texte");
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    const auto reason = [](const fs::path& path) {
        return writeWholeFile(path.string(), "x").reason();
    };
    EXPECT_EQ(reason(dir / "plain.txt/x.csv"),
              failureFor(dir / "plain.txt/x.csv", "un élément du chemin n'est pas un dossier"));
    EXPECT_EQ(reason(dir / "a"),
              failureFor(dir / "a", "le chemin tourne en rond entre des liens symboliques"));
    EXPECT_EQ(reason(dir / "absent/x.csv"),
              failureFor(dir / "absent/x.csv", "le dossier n'existe pas"));
    EXPECT_EQ(reason(""), failureFor("", "le nom du fichier est vide"));
    // The name as typed, relative, not as resolved.
    const fs::path here = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(reason("absent/x.csv"), failureFor("absent/x.csv", "le dossier n'existe pas"));
    EXPECT_EQ(reason("nouveau.csv"), "");
    fs::current_path(here);
    EXPECT_EQ(readAll(dir / "nouveau.csv"), "x");
    EXPECT_EQ(readAll(dir / "plain.txt"), "texte");
}

// Case 8: a mount point (here a file mounted over another) cannot be replaced.
TEST(FileOutputTest, AMountPointIsBusy) {
    const ScratchDir dir;
    writeText(dir / "source.csv", "monté");
    writeText(dir / "point.csv", "dessous");
    if (!isRoot() || mount((dir / "source.csv").c_str(), (dir / "point.csv").c_str(), nullptr,
                           MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "mounting a file needs root and a system that allows it";
    const std::string said = writeWholeFile((dir / "point.csv").string(), "x").reason();
    umount2((dir / "point.csv").c_str(), MNT_DETACH);
    EXPECT_EQ(said,
              failureFor(dir / "point.csv", "ce nom est occupé par le système (point de montage)"));
    EXPECT_EQ(names(dir.path()), (std::set<std::string>{"source.csv", "point.csv"}));
}

// A write that fails half-way, and an abandoned one, leave the old file whole and no temporary.
TEST(FileOutputTest, AFailedOrAbandonedWriteLeavesTheOldFile) {
    const ScratchDir dir;
    const fs::path path = dir / "gros.csv";
    writeText(path, "ancien");
    {
        FileOutput out(path.string());
        ASSERT_TRUE(out.open());
        ASSERT_TRUE(out.write("début"));
        out.abandon();
        EXPECT_FALSE(out.commit());
    }
    {
        FileOutput out(path.string());
        ASSERT_TRUE(out.open());
        ASSERT_TRUE(out.write("début")); // destroyed uncommitted
    }
    // A file-size limit makes the write fail as a full disk would, with its own words.
    const std::string said = inChild(
        [&] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit small{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &small);
            return writeWholeFile(path.string(), std::string(100'000, 'x')).reason();
        },
        false);
    EXPECT_EQ(said, failureFor(path, "le fichier dépasserait la taille permise par le support"));
    EXPECT_EQ(readAll(path), "ancien");
    EXPECT_EQ(names(dir.path()), std::set<std::string>{"gros.csv"});
}

// A disk that fills up half-way: said so, the old file whole, no temporary left.
TEST(FileOutputTest, AFullDiskLosesNothing) {
    const ScratchDir dir;
    const fs::path disk = dir / "disque";
    fs::create_directory(disk);
    if (!isRoot() || mount("bocavo", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small disk of its own needs root and a system that allows mounting";
    writeText(disk / "res.csv", "ancien");
    const std::string said =
        writeWholeFile((disk / "res.csv").string(), std::string(1 << 20, 'x')).reason();
    const std::string old = readAll(disk / "res.csv");
    const auto left = names(disk);
    umount2(disk.c_str(), MNT_DETACH);
    EXPECT_EQ(said, failureFor(disk / "res.csv", "le disque est plein"));
    EXPECT_EQ(old, "ancien");
    EXPECT_EQ(left, std::set<std::string>{"res.csv"});
}

// The window's way with signals: SIGTERM removes the temporary file and ends
// with 143; a reader that went away is a write error, not the window's end.
TEST(FileOutputTest, TheWindowsSignalsRemoveTheTemporaryFile) {
    const ScratchDir dir;
    const fs::path path = dir / "vue.csv";
    writeText(path, "ancien");
    const pid_t child = fork();
    if (child == 0) {
        removePendingFilesOnSignals();
        int channel[2];
        if (pipe(channel) != 0)
            _exit(3);
        close(channel[0]);
        const std::string pipeName = "/proc/self/fd/" + std::to_string(channel[1]);
        if (writeWholeFile(pipeName, "x").reason() !=
            failureFor(pipeName, "le programme qui lisait s'est arrêté"))
            _exit(4);
        FileOutput out(path.string());
        if (!out.open() || !out.write("à moitié"))
            _exit(5);
        raise(SIGTERM);
        _exit(6);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 143);
    EXPECT_EQ(readAll(path), "ancien");
    EXPECT_EQ(names(dir.path()), std::set<std::string>{"vue.csv"});
}

} // namespace
} // namespace bocavo::labo
