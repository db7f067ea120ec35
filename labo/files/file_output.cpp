#include "labo/files/file_output.h"

#include "core/lab/science/limits.h"
#include "labo/files/file_reasons.h"
#include "labo/files/pending_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace bocavo::labo {
namespace {

inline constexpr int kMaxLinks = 40;          // the kernel's own limit on a chain of links
inline constexpr int kNameAttempts = 100;     // temporary names tried before giving up
inline constexpr std::size_t kStemBytes = 32; // of the target's name, in the temporary's name
inline constexpr std::chrono::milliseconds kReaderPoll{50}; // between looks for a pipe's reader

struct Split {
    std::string folder;
    std::string name;
};

Split split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// The folder a name is in, every link resolved; empty if it cannot be resolved.
std::string realFolder(const std::string& path) {
    char real[PATH_MAX];
    return realpath(split(path).folder.c_str(), real) ? std::string(real) : std::string();
}

// The descriptor a name stands for when it is one of this process's own
// ("/dev/fd/1", "/proc/self/fd/1", "/proc/thread-self/fd/1"); -1 otherwise.
int ownDescriptor(const std::string& path) {
    const std::string folder = realFolder(path);
    const std::string name = split(path).name;
    if (!folder.starts_with("/proc/" + std::to_string(getpid()) + "/") ||
        !folder.ends_with("/fd") || name.empty() || name.size() > 9 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(name);
}

// Follows a chain of symbolic links to the name it ends at, which need not
// exist yet. Returns 0 or an errno value. `descriptor`: the chain reached one
// of this process's descriptors (as /dev/stdout does), else -1. `throughProc`:
// it went into /proc, so the name stands for an open file of another process.
int followLinks(std::string& path, bool& throughProc, int& descriptor) {
    for (int i = 0; i < kMaxLinks; ++i) {
        if ((descriptor = ownDescriptor(path)) >= 0)
            return 0;
        throughProc = throughProc || realFolder(path).starts_with("/proc/");
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return errno;
        if (static_cast<std::size_t>(n) >= target.size())
            return ENAMETOOLONG;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : split(path).folder + "/" + target;
    }
    return ELOOP;
}

// The descriptor is open on the same file as this process's standard output.
bool sameAsStandardOutput(int fd) {
    struct stat mine {
    }, out{};
    return fstat(fd, &mine) == 0 && fstat(STDOUT_FILENO, &out) == 0 && mine.st_dev == out.st_dev &&
           mine.st_ino == out.st_ino;
}

// ".derive.csv.1234-5-8f3a.partiel": recognisable beside its target, short
// whatever the target's length, and unique to this process and attempt.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    std::size_t stem = std::min(target.size(), kStemBytes);
    while (stem > 0 && stem < target.size() &&
           (static_cast<unsigned char>(target[stem]) & 0xC0) == 0x80)
        --stem; // never cut a UTF-8 character in two
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char tail[64];
    std::snprintf(tail, sizeof tail, ".%d-%u-%llx.partiel", static_cast<int>(getpid()),
                  counter.fetch_add(1), static_cast<unsigned long long>(ticks) & 0xFFFFFu);
    return "." + target.substr(0, stem) + tail;
}

} // namespace

FileOutput::FileOutput(std::string path, const std::atomic<bool>* cancel)
    : path_(std::move(path)), cancel_(cancel) {}

FileOutput::~FileOutput() {
    abandon();
}

bool FileOutput::fail(int error, FileStep step) {
    const bool done = failWith(reasonFor(error, step));
    errorCode_ = error;
    return done;
}

bool FileOutput::failWith(const std::string& reason) {
    error_ = "Impossible d'écrire le fichier " + quotedPath(path_) + " : " + reason + ".";
    abandon();
    return false;
}

bool FileOutput::open() {
    if (path_.empty())
        return failWith("le nom du fichier est vide");
    if (path_ == "-") {
        fd_ = STDOUT_FILENO;
        stream_ = standardOutput_ = true;
        return true;
    }
    if (path_.back() == '/')
        return failWith("ce nom désigne un dossier, pas un fichier");
    std::string target = path_;
    bool throughProc = false;
    int descriptor = -1;
    const int linkError = followLinks(target, throughProc, descriptor);
    // "/dev/fd/1", "/dev/stdout"...: the descriptor itself, where the shell
    // that opened it expects the bytes (after "A" and "B" of a `>>`), never
    // replaced, whatever it is open on.
    if (descriptor >= 0)
        return openDescriptor(descriptor);
    struct stat st {};
    if (stat(path_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(EISDIR, FileStep::Path);
        if (!S_ISREG(st.st_mode))
            return openStream();
        existing_ = true;
        mode_ = st.st_mode & 07777;
        owner_ = st.st_uid;
        group_ = st.st_gid;
    } else if (errno != ENOENT) {
        return fail(errno, FileStep::Path);
    }
    if (linkError)
        return fail(linkError, FileStep::Path);
    // Another process's open file, reached through /proc: written after what
    // its owner wrote, never replaced behind its back.
    if (existing_ && throughProc)
        return openStream();
    // Renaming needs only the folder's permission: the file's own is checked
    // here, so that a protected file is refused as it would be if opened.
    if (existing_ && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return fail(errno, FileStep::File);
    return createTemporary(target);
}

bool FileOutput::openStream() {
    struct stat st {};
    // Appending: a file reached through /proc is written after what its owner wrote.
    fd_ = stat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)
              ? openPipe()
              : ::open(path_.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0 && cancelled_)
        return false;
    if (fd_ < 0)
        return fail(errno, FileStep::File);
    ownsFd_ = stream_ = true;
    standardOutput_ = sameAsStandardOutput(fd_);
    return true;
}

bool FileOutput::openDescriptor(int descriptor) {
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags < 0)
        return failWith("aucun fichier n'est ouvert sous ce numéro");
    if ((flags & O_ACCMODE) == O_RDONLY)
        return failWith("ce numéro n'est ouvert qu'en lecture");
    fd_ = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (fd_ < 0)
        return fail(errno, FileStep::File);
    ownsFd_ = stream_ = true;
    standardOutput_ = sameAsStandardOutput(fd_);
    return true;
}

// A named pipe opens for writing only once a reader has it open: waited for
// in short steps, so that a cancel (or the window's closing) is not stuck.
// Returns the descriptor, or -1 with errno set or cancelled_.
int FileOutput::openPipe() {
    while (true) {
        const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            // With a cancel to look at, the pipe stays non-blocking (its open
            // description is this program's own) and write() waits in short
            // steps: a reader that never reads cannot hold a closing window.
            // Without one, a write to a slow reader simply waits.
            if (cancel_)
                nonBlocking_ = true;
            else
                fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        if (errno != ENXIO)
            return -1;
        if (cancel_ && cancel_->load()) {
            cancelled_ = true;
            return -1;
        }
        std::this_thread::sleep_for(kReaderPoll);
    }
}

// The pipe is full: waits in short steps until its reader takes some, or
// until cancelled (the output is then abandoned, as a cancel leaves nothing).
bool FileOutput::waitForRoom() {
    while (true) {
        pollfd room{fd_, POLLOUT, 0};
        const int ready = ::poll(&room, 1, static_cast<int>(kReaderPoll.count()));
        if (ready > 0)
            return true; // room, or the reader gone: the next write says which
        if (ready < 0 && errno != EINTR)
            return fail(errno, FileStep::Write);
        if (cancel_->load()) {
            cancelled_ = true;
            abandon();
            return false;
        }
    }
}

bool FileOutput::createTemporary(const std::string& target) {
    const Split where = split(target);
    name_ = where.name;
    folder_ = ::open(where.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        return fail(errno, FileStep::Folder);
    // Owner-only until the target's mode is copied, so nobody else can open it meanwhile.
    const mode_t initial = existing_ ? 0600 : 0666;
    for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
        temporary_ = temporaryName(name_);
        // Held before it exists, so that a signal right after its creation
        // still removes it. The name carries this process's id and count: if
        // it exists, it is a dead process's leftover temporary.
        pending_ = holdPending(folder_, temporary_.c_str());
        fd_ = openat(folder_, temporary_.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, initial);
        if (fd_ >= 0)
            break;
        const int e = errno;
        releasePending(pending_);
        pending_ = -1;
        if (e != EEXIST) {
            temporary_.clear();
            return fail(e, FileStep::Folder);
        }
    }
    if (fd_ < 0) {
        temporary_.clear();
        return fail(EEXIST, FileStep::Folder);
    }
    ownsFd_ = true;
    if (existing_) {
        // Best effort: only root may give a file away, and only to a group one belongs to.
        if (geteuid() == 0 || group_ != getegid())
            (void)fchown(fd_, geteuid() == 0 ? owner_ : static_cast<uid_t>(-1), group_);
        if (fchmod(fd_, mode_) != 0)
            return fail(errno, FileStep::File);
    }
    return true;
}

bool FileOutput::write(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (nonBlocking_ && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                if (!waitForRoom())
                    return false;
                continue;
            }
            return fail(errno, FileStep::Write);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool FileOutput::commit() {
    if (fd_ < 0)
        return false;
    if (stream_) {
        const int fd = fd_;
        const bool owned = ownsFd_;
        fd_ = -1;
        ownsFd_ = false;
        if (owned && close(fd) != 0)
            return fail(errno, FileStep::Write);
        return true;
    }
    if (fsync(fd_) != 0)
        return fail(errno, FileStep::Write);
    const int fd = fd_;
    fd_ = -1;
    ownsFd_ = false;
    if (close(fd) != 0)
        return fail(errno, FileStep::Write);
    if (renameat(folder_, temporary_.c_str(), folder_, name_.c_str()) != 0)
        return fail(errno, FileStep::Rename);
    temporary_.clear();
    // The rename itself reaches the disk with the folder; a failure here loses nothing.
    if (const int folder = openat(folder_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
        (void)fsync(folder);
        close(folder);
    }
    closeAll();
    return true;
}

void FileOutput::abandon() {
    if (fd_ >= 0 && ownsFd_)
        close(fd_);
    fd_ = -1;
    ownsFd_ = false;
    if (!temporary_.empty())
        unlinkat(folder_, temporary_.c_str(), 0);
    temporary_.clear();
    closeAll();
}

void FileOutput::closeAll() {
    releasePending(pending_);
    pending_ = -1;
    if (folder_ >= 0)
        close(folder_);
    folder_ = -1;
}

Result<void> writeWholeFile(const std::string& path, std::string_view bytes) {
    FileOutput out(path);
    if (out.open() && out.write(bytes) && out.commit())
        return {};
    return Refusal{out.error()};
}

} // namespace bocavo::labo
