#pragma once
// Font lookups on the thread that asks for them. The text library (pango
// 1.50 on fontconfig) starts two threads for every font description it has
// not seen in a font map, one to match the description against the
// configuration and one to sort the configuration's fonts for fallback, and
// the asking thread then waits for the match. Each size of each face is a
// new description, so a fresh process laying one label out started some
// forty-five threads, and on a busy machine waited for each to be scheduled.
//
// The g_thread_new defined beside this header, which the program's own
// symbol takes precedence over glib's, runs those two jobs, known by the
// names the text library gives their threads, on the calling thread before
// it returns; every other thread is started as glib starts it. The match and
// the sort are the same calls on the same data either way, so the fonts
// chosen do not change; only the sort, which the library would have run in
// parallel, is paid before the first layout instead of beside it (on a
// face's own file, one font, it costs next to nothing). A program gets this
// definition by calling FontLookupsInline (labelhost does, at start); one
// that only uses the library keeps glib's, and its lookups' threads.

namespace vellum {

// True when the process's g_thread_new is the one beside this header (it is
// not where glib is linked statically or the program is loaded in a way that
// keeps glib's): font lookups then start no threads.
bool FontLookupsInline();

}  // namespace vellum
