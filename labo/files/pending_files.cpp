#include "labo/files/pending_files.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace bocavo::labo {
namespace {

// A handful of exports at once at most: the window's CSV and picture exports.
inline constexpr int kSlots = 8;

enum State : int { kFree, kFilling, kHeld };

struct Slot {
    std::atomic<int> state{kFree};
    int folder = -1;
    char name[NAME_MAX + 1] = {};
};

std::array<Slot, kSlots> slots;
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots");

extern "C" void onInterrupt(int signal) {
    removePendingFiles();
    _exit(128 + signal);
}

} // namespace

int holdPending(int folder, const char* name) noexcept {
    if (std::strlen(name) > NAME_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        Slot& slot = slots[static_cast<std::size_t>(i)];
        if (!slot.state.compare_exchange_strong(expected, kFilling))
            continue;
        slot.folder = folder;
        std::strcpy(slot.name, name);
        slot.state.store(kHeld, std::memory_order_release);
        return i;
    }
    return -1;
}

void releasePending(int slot) noexcept {
    if (slot >= 0 && slot < kSlots)
        slots[static_cast<std::size_t>(slot)].state.store(kFree, std::memory_order_release);
}

void removePendingFiles() noexcept {
    for (Slot& slot : slots)
        if (slot.state.load(std::memory_order_acquire) == kHeld)
            unlinkat(slot.folder, slot.name, 0);
}

void removePendingFilesOnSignals() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // One handler at a time: a second signal waits until the first has ended the process.
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&action.sa_mask, s);
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, nullptr);
}

} // namespace bocavo::labo
