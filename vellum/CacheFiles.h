#pragma once
// Where labelhost keeps what it learns between runs (the font catalog, the
// glyph store) and how one of those files is read back. Both caches follow the
// same rules, kept here: the folder is $XDG_CACHE_HOME/labelhost or
// ~/.cache/labelhost unless the cache's own variable names another place, and
// a file is read whole, only when it is a regular file of bounded size (a
// pipe or device put in its place is never waited on).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vellum {

// $`variable` when it is set (empty: keep nothing), else
// $XDG_CACHE_HOME/labelhost/`name`, else $HOME/.cache/labelhost/`name`;
// empty when neither of those is an absolute path.
std::string CacheLocation(const char* variable, const char* name);

// The whole of `path` in `out` (a std::string or std::vector<uint8_t>);
// false when it is missing, not a regular file, over `limit` bytes or cannot
// be read.
template <typename Bytes>
bool ReadCacheFile(const std::string& path, size_t limit, Bytes& out);
// The same into memory of its own, left uncleared before the read: `size`
// bytes at `out`.
bool ReadCacheFile(const std::string& path, size_t limit, std::unique_ptr<uint8_t[]>& out,
                   size_t& size);

}  // namespace vellum
