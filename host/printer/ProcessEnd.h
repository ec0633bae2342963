#pragma once
// How labelhost's one-shot commands end. Once such a command has written,
// flushed and closed all it writes, what is left of its work is memory: the
// text library's font maps and faces, the engine's caches, the static tables.
// Freeing it cost a one-label run more than its share of start-up, and the
// end of the process gives it back anyway.
//
// ProgramMain turns this on for the commands its table marks one-shot; the
// commands hand what they are done with to LeaveToExit, and ProgramMain ends
// the process with EndProcess. Off by default, so that tests and programs
// calling the commands in-process free all they use; never on in builds that
// check for leaks (AddressSanitizer, LeakSanitizer), whose check must go on
// seeing every allocation.

#include <memory>

namespace host {

// Builds whose leak check must see every allocation.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kLeaksChecked = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
inline constexpr bool kLeaksChecked = true;
#else
inline constexpr bool kLeaksChecked = false;
#endif
#else
inline constexpr bool kLeaksChecked = false;
#endif

// Whether memory is left to the end of the process. SetMemoryLeftToExit(true)
// does nothing in leak-checking builds.
void SetMemoryLeftToExit(bool left);
bool MemoryLeftToExit();

// Frees `object`, or lets it go unfreed while memory is left to the end of
// the process. Its destructor must then have nothing left to do but free:
// whatever it would write, flush, close, rename or report is done before
// (Printer::Close for a printer).
template <class T>
void LeaveToExit(std::unique_ptr<T> object) {
  if (MemoryLeftToExit()) static_cast<void>(object.release());
}

// Flushes standard output and standard error (their C and C++ streams) and
// ends the process with `status`, running no destructor and no exit handler.
[[noreturn]] void EndProcess(int status);

}  // namespace host
