// Built into the test binary in ThreadSanitizer builds only.
//
// Qt and GLib on this system are not built with ThreadSanitizer: the synchronisation inside them
// (their atomics, the event queues between their threads) is invisible to it, so the work of
// Qt's own threads (the network access thread behind the tile loader) is reported as racing with
// the main thread. Reports whose stacks stay in our code still show.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\n"
           "race:libQt6Network.so\n"
           "race:libglib-2.0.so\n";
}
