// Reports that the sanitizers should set aside because they start inside
// libraries that are not built with them; every report in our code stays.
// The sanitizer runtimes look these functions up; other builds ignore them.

extern "C" {

// fontconfig keeps a pattern of its own for the life of the process once Qt
// resolves a styled font.
const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

// Undefined behaviour fails the test that meets it, instead of a line in a
// log nobody reads when the test passes.
const char* __ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

// Qt's own locks and atomics are invisible to the thread sanitizer, so its
// internal worker pools (fonts, images) look racy; so are those of GLib, whose
// allocator Qt's event loop on each worker thread uses and frees across threads.
const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Widgets.so.6\n"
           "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n"
           "race:libQt6Widgets.so.6\n"
           "race:libglib-2.0.so.0\n";
}

}
