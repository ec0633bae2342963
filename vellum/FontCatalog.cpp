#include "vellum/FontCatalog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vellum {
namespace {

constexpr const char* kHeader = "labelhost font catalog 1";

// A family name as fontconfig compares names when it lists fonts.
std::string Normal(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == ' ') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

// A tab-separated line's fields; names and paths never hold tabs or line
// breaks (those are refused on the way in).
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, '\t')) fields.push_back(field);
  return fields;
}

bool Plain(const std::string& text) { return text.find_first_of("\t\n\r") == std::string::npos; }

bool ToNumber(const std::string& text, long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return *end == '\0';
}

}  // namespace

FontCatalog::Watched FontCatalog::StatOf(const std::string& path) {
  Watched watched;
  watched.path = path;
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    watched.mtime = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL +
                    static_cast<long long>(info.st_mtim.tv_nsec);
    watched.size = static_cast<long long>(info.st_size);
  }
  return watched;
}

void FontCatalog::Watch(const std::string& path) {
  if (Plain(path)) watched_.push_back(StatOf(path));
}

void FontCatalog::AddFamily(const std::string& name, bool first) {
  if (!Plain(name) || name.empty()) return;
  names_.insert(Normal(name));
  if (first) firstNames_.insert(name);
}

std::vector<std::string> FontCatalog::FirstFamilies() const {
  return {firstNames_.begin(), firstNames_.end()};
}

bool FontCatalog::HasFamily(const std::string& name) const {
  return names_.count(Normal(name)) != 0;
}

const FontCatalog::Face* FontCatalog::FindFace(const FaceKey& key) const {
  auto found = faces_.find(key);
  return found == faces_.end() ? nullptr : &found->second;
}

bool FontCatalog::Parse(const std::string& line) {
  const std::vector<std::string> f = Fields(line);
  long long a = 0, b = 0;
  if (f.size() == 4 && f[0] == "watch" && ToNumber(f[1], a) && ToNumber(f[2], b)) {
    watched_.push_back({f[3], a, b});
  } else if (f.size() == 3 && f[0] == "family" && f[1] == "1") {
    AddFamily(f[2], true);
  } else if (f.size() == 3 && f[0] == "name") {
    names_.insert(f[2]);
  } else if (f.size() == 5 && f[0] == "face" && f[1].size() == 2 && ToNumber(f[3], a)) {
    faces_[{f[2], f[1][0] == 'b', f[1][1] == 'i'}] = {f[4], static_cast<int>(a)};
  } else if (f.size() == 4 && f[0] == "face" && f[1].size() == 2) {
    faces_[{f[2], f[1][0] == 'b', f[1][1] == 'i'}] = {};  // no file of its own
  } else {
    return false;
  }
  return true;
}

bool FontCatalog::Read(const std::string& path, const std::string& key) {
  *this = FontCatalog();
  std::ifstream in(path);
  std::string line;
  bool ok = in && std::getline(in, line) && line == kHeader && std::getline(in, line) &&
            line == "key\t" + key;
  while (ok && std::getline(in, line)) ok = Parse(line);
  for (size_t i = 0; ok && i < watched_.size(); ++i) {
    const Watched now = StatOf(watched_[i].path);
    ok = now.mtime == watched_[i].mtime && now.size == watched_[i].size;
  }
  if (!ok) {
    *this = FontCatalog();
    return false;
  }
  key_ = key;
  return true;
}

bool FontCatalog::Write(const std::string& path) const {
  if (path.empty() || !Plain(key_)) return false;
  std::error_code ec;
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << kHeader << "\nkey\t" << key_ << '\n';
    for (const Watched& w : watched_) {
      out << "watch\t" << w.mtime << '\t' << w.size << '\t' << w.path << '\n';
    }
    for (const std::string& name : firstNames_) out << "family\t1\t" << name << '\n';
    for (const std::string& name : names_) out << "name\t-\t" << name << '\n';
    for (const auto& [face, file] : faces_) {
      if (!Plain(face.family) || !Plain(file.file)) continue;
      out << "face\t" << (face.bold ? 'b' : '-') << (face.italic ? 'i' : '-') << '\t' << face.family
          << '\t' << file.index << '\t' << file.file << '\n';
    }
    out.flush();
    if (!out) {
      std::filesystem::remove(temporary, ec);
      return false;
    }
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) std::filesystem::remove(temporary, ec);
  return !ec;
}

std::string FontCatalog::DefaultPath() {
  if (const char* path = std::getenv("LABELHOST_FONT_CATALOG")) return path;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
    return std::string(cache) + "/labelhost/font-catalog";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
    return std::string(home) + "/.cache/labelhost/font-catalog";
  }
  return "";
}

}  // namespace vellum
