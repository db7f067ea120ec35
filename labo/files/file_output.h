// Every file the laboratory writes goes through here, so that no export can
// lose or spoil a file. A regular file (or a new name) is written to a fresh,
// uniquely named temporary file beside it, synced, then renamed over it: the
// old file stays whole until the new one is complete, and keeps its
// permissions. A symbolic link is followed to the file it names, which is then
// replaced the same way. Anything else is written in place as a stream: "-"
// (the standard output), a name for an open descriptor (/dev/fd/N,
// /proc/self/fd/N, /dev/stdout), a device or a named pipe. Every failure is a French sentence that
// names the file as the user typed it.
#pragma once

#include "core/text/result.h"
#include "labo/files/file_reasons.h"

#include <atomic>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace bocavo::labo {

class FileOutput {
public:
    // `cancel`, when given, ends the wait for a named pipe's reader, and for
    // room in a pipe whose reader has stopped reading.
    explicit FileOutput(std::string path, const std::atomic<bool>* cancel = nullptr);
    ~FileOutput(); // an output neither committed nor failed is abandoned
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // Each returns false on failure, with error() set and the temporary file gone.
    bool open();
    bool write(std::string_view bytes);
    bool commit();
    // Drops what was written: the temporary file is removed, the target untouched.
    void abandon();

    const std::string& error() const { return error_; }
    int errorCode() const {
        return errorCode_;
    } // errno of the failure, 0 if none or not the system's
    bool cancelled() const { return cancelled_; } // open() or write() gave up on `cancel`
    bool isStream() const { return stream_; }
    // The bytes land on this process's standard output ("-", /dev/stdout...).
    bool isStandardOutput() const { return standardOutput_; }

private:
    bool fail(int error, FileStep step);
    bool failWith(const std::string& reason);
    bool openStream();
    bool openDescriptor(int descriptor);
    bool createTemporary(const std::string& target);
    void closeAll();

    int openPipe();
    bool waitForRoom();

    std::string path_; // as typed, for the messages
    const std::atomic<bool>* cancel_;
    bool cancelled_ = false;
    std::string error_;
    int errorCode_ = 0;
    std::string temporary_;
    std::string name_; // the target's name inside its folder
    int fd_ = -1;
    int folder_ = -1;
    int pending_ = -1;
    bool stream_ = false;
    bool nonBlocking_ = false; // a pipe of its own, written in steps that look at cancel_
    bool ownsFd_ = false;
    bool standardOutput_ = false;
    bool existing_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

// The whole of `bytes` as the file `path`, or the French reason it is not.
Result<void> writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace bocavo::labo
