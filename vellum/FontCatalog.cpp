#include "vellum/FontCatalog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "vellum/CacheFiles.h"

namespace vellum {
namespace {

// Version 2 added the scans' folders and the faces' measurements: a catalog
// of version 1 would stand for a configuration without them.
constexpr std::string_view kHeader = "labelhost font catalog 2";
// Far above any machine's catalog (a few kilobytes per hundred fonts).
constexpr size_t kMaxCatalogBytes = size_t{16} << 20;

// A family name as fontconfig compares names when it lists fonts.
std::string Normal(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == ' ') continue;
    out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return out;
}

// A tab-separated line's fields, at most kMaxFields (names and paths never
// hold tabs or line breaks: those are refused on the way in); count 0 when
// the line has more.
constexpr size_t kMaxFields = 7;
struct Fields {
  std::string_view at[kMaxFields];
  size_t count = 0;
};

Fields Split(std::string_view line) {
  Fields fields;
  while (fields.count < kMaxFields) {
    const size_t tab = line.find('\t');
    fields.at[fields.count++] = line.substr(0, tab);
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
  fields.count = 0;
  return fields;
}

bool Plain(const std::string& text) { return text.find_first_of("\t\n\r") == std::string::npos; }

template <typename Number>
bool ToNumber(std::string_view text, Number& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

// "bi", "b-", "-i" or "--": bold and italic.
bool ToStyle(std::string_view text, bool& bold, bool& italic) {
  if (text.size() != 2) return false;
  bold = text[0] == 'b';
  italic = text[1] == 'i';
  return true;
}

// Where each of a face's two measurements was laid out: 'f' its own file,
// 's' the whole configuration.
bool ToLanes(std::string_view text, FontCatalog::Metrics& metrics) {
  if (text.size() != 2 || text.find_first_not_of("fs") != std::string_view::npos) return false;
  metrics.capOnFile = text[0] == 'f';
  metrics.digitOnFile = text[1] == 'f';
  return true;
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

const FontCatalog::Metrics* FontCatalog::FindMetrics(const FaceKey& key, int dpi) const {
  auto found = metrics_.find({key, dpi});
  return found == metrics_.end() ? nullptr : &found->second;
}

void FontCatalog::AddCacheDir(const std::string& path) {
  if (Plain(path) && !path.empty()) cacheDirs_.push_back(path);
}

bool FontCatalog::Parse(std::string_view line) {
  const Fields fields = Split(line);
  const std::string_view* f = fields.at;
  const size_t n = fields.count;
  long long a = 0, b = 0;
  FaceKey face;
  if (n == 0) return false;
  if (n == 4 && f[0] == "watch" && ToNumber(f[1], a) && ToNumber(f[2], b)) {
    watched_.push_back({std::string(f[3]), a, b});
  } else if (n == 3 && f[0] == "family" && f[1] == "1") {
    AddFamily(std::string(f[2]), true);
  } else if (n == 3 && f[0] == "name") {
    names_.emplace(f[2]);
  } else if (n == 2 && f[0] == "cachedir") {
    AddCacheDir(std::string(f[1]));
  } else if ((n == 5 || n == 4) && f[0] == "face" && ToStyle(f[1], face.bold, face.italic)) {
    face.family = f[2];
    int index = 0;
    if (n == 4) {
      faces_[face] = {};  // no file of its own
    } else if (ToNumber(f[3], index)) {
      faces_[face] = {std::string(f[4]), index};
    } else {
      return false;
    }
  } else if (n == 7 && f[0] == "metrics" && ToStyle(f[1], face.bold, face.italic)) {
    face.family = f[2];
    int dpi = 0;
    Metrics metrics;
    if (!ToNumber(f[3], dpi) || dpi <= 0 || !ToLanes(f[4], metrics) ||
        !ToNumber(f[5], metrics.capHeight) || !ToNumber(f[6], metrics.digitAdvance)) {
      return false;
    }
    metrics_[{face, dpi}] = metrics;
  } else {
    return false;
  }
  return true;
}

bool FontCatalog::Read(const std::string& path, const std::string& key) {
  *this = FontCatalog();
  std::string text;
  bool ok = ReadCacheFile(path, kMaxCatalogBytes, text) && !text.empty() && text.back() == '\n';
  std::string_view rest(text);
  // The next line, without its line break; every line has one.
  auto next = [&rest](std::string_view& line) {
    const size_t end = rest.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
  };
  std::string_view line;
  ok = ok && next(line) && line == kHeader && next(line) && line.substr(0, 4) == "key\t" &&
       line.substr(4) == key;
  while (ok && next(line)) ok = Parse(line);
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
    for (const std::string& dir : cacheDirs_) out << "cachedir\t" << dir << '\n';
    for (const std::string& name : firstNames_) out << "family\t1\t" << name << '\n';
    for (const std::string& name : names_) out << "name\t-\t" << name << '\n';
    for (const auto& [face, file] : faces_) {
      if (!Plain(face.family) || !Plain(file.file)) continue;
      out << "face\t" << (face.bold ? 'b' : '-') << (face.italic ? 'i' : '-') << '\t' << face.family
          << '\t' << file.index << '\t' << file.file << '\n';
    }
    for (const auto& [at, m] : metrics_) {
      if (!Plain(at.first.family)) continue;
      out << "metrics\t" << (at.first.bold ? 'b' : '-') << (at.first.italic ? 'i' : '-') << '\t'
          << at.first.family << '\t' << at.second << '\t' << (m.capOnFile ? 'f' : 's')
          << (m.digitOnFile ? 'f' : 's') << '\t' << m.capHeight << '\t' << m.digitAdvance << '\n';
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
  return CacheLocation("LABELHOST_FONT_CATALOG", "font-catalog");
}

}  // namespace vellum
