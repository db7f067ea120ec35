// Temporary files that an interruption must not leave behind. A signal handler
// may only call async-signal-safe functions, so each pending file is kept as a
// folder descriptor and a name in a fixed static slot, ready for unlinkat().
#pragma once

namespace bocavo::labo {

// Marks `name` in the folder `folder` (an open descriptor) as pending; returns
// its slot, or -1 when every slot is taken (the file is then not guarded).
int holdPending(int folder, const char* name) noexcept;
// The file was renamed or removed: nothing left to clean up.
void releasePending(int slot) noexcept;

// Removes every pending file. Async-signal-safe.
void removePendingFiles() noexcept;

// SIGINT, SIGTERM and SIGHUP remove the pending files and end the process at
// once with status 128 + the signal's number, as a shell reports it. SIGPIPE
// is ignored, so that a vanished reader shows up as a write error that says
// whose reader it was.
void removePendingFilesOnSignals();

} // namespace bocavo::labo
