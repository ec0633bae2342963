#include "vellum/InlineFontLookups.h"

#include <dlfcn.h>
#include <glib.h>

#include <cstring>

namespace {

// The threads the text library starts per font description: the pattern's
// match, and the sorted fonts for fallback. Both compute, signal the
// description's waiters and let their data go; none waits for its creator.
bool RunsInline(const gchar* name) {
  if (name == nullptr) return false;
  return std::strcmp(name, "[pango] FcFontSetMatch") == 0 ||
         std::strcmp(name, "[pango] FcFontSetSort") == 0;
}

}  // namespace

// glib's own, for every thread but the text library's lookups; it fails as
// glib's does when no thread can be had. The caller only drops the thread
// returned for an inline job (the text library never joins these), so that
// one is a reference to the calling thread.
extern "C" GThread* g_thread_new(const gchar* name, GThreadFunc func, gpointer data) {
  if (RunsInline(name)) {
    func(data);
    return g_thread_ref(g_thread_self());
  }
  GError* error = nullptr;
  GThread* thread = g_thread_try_new(name, func, data, &error);
  if (thread == nullptr) {
    g_error("creating thread '%s': %s", name != nullptr ? name : "", error->message);
  }
  return thread;
}

namespace vellum {

bool FontLookupsInline() {
  return dlsym(RTLD_DEFAULT, "g_thread_new") == reinterpret_cast<void*>(&g_thread_new);
}

}  // namespace vellum
