// Qt, libdbus and GLib are not built with ThreadSanitizer, so it cannot see how they hand
// objects between Qt D-Bus's thread and the main thread, and reports Qt freeing its own
// messages and wait conditions as races. Accesses made inside such libraries are left out;
// everything this project compiles, and the locks the libraries take, are still checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options() { return "ignore_noninstrumented_modules=1"; }
#endif
