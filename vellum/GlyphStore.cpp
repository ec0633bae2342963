#include "vellum/GlyphStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <ft2build.h>
#include <pango/pango.h>
#include <pango/pangofc-font.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include FT_FREETYPE_H
#include FT_MODULE_H

#include "vellum/CacheFiles.h"
#include "vellum/GlyphRasters.h"

namespace vellum {
namespace {

constexpr char kMagic[8] = {'L', 'H', 'G', 'L', 'Y', 'P', 'H', 'S'};
constexpr uint32_t kFormat = 1;
// A glyph's fixed part: index, box, empty flag, x, y, width, height.
constexpr size_t kRecordBytes = 4 + 4 * 8 + 1 + 4 * 4;
// The file's fixed part: magic, format, key length, glyph count, checksum.
constexpr size_t kFrameBytes = sizeof(kMagic) + 4 + 4 + 4 + 8;
// Cairo's dots reach at most this far past the outline's bounds (what
// GlyphRasters keeps is checked to lie within them).
constexpr int kReach = 2;

// Exact text of a double; -0.0 is written as +0.0, which draws the same.
void AppendBits(std::string& out, double v) {
  static constexpr char kHex[] = "0123456789abcdef";
  const uint64_t bits = std::bit_cast<uint64_t>(v + 0.0);
  for (int shift = 60; shift >= 0; shift -= 4) out += kHex[(bits >> shift) & 15];
}

uint64_t Fnv(const std::string& text) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ULL;
  return h;
}

}  // namespace

// Catches damage anywhere in a file, eight bytes at a time.
uint64_t GlyphStore::Checksum(const void* bytes, size_t size) {
  const auto* data = static_cast<const uint8_t*>(bytes);
  uint64_t h = 0x243f6a8885a308d3ULL ^ size;
  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, data + i, 8);
    h = (h ^ word) * 0x9e3779b97f4a7c15ULL;
    h ^= h >> 29;
  }
  for (; i < size; ++i) h = (h ^ data[i]) * 0x100000001b3ULL;
  return h;
}

namespace {

// The FreeType that draws, not the one built against: a bare library (no
// modules) knows its version.
std::string FreeTypeVersion() {
  static FT_MemoryRec_ memory{
      nullptr, [](FT_Memory, long size) { return std::malloc(static_cast<size_t>(size)); },
      [](FT_Memory, void* block) { std::free(block); },
      [](FT_Memory, long, long size, void* block) {
        return std::realloc(block, static_cast<size_t>(size));
      }};
  FT_Library library = nullptr;
  if (FT_New_Library(&memory, &library) != 0) return "";
  FT_Int major = 0, minor = 0, patch = 0;
  FT_Library_Version(library, &major, &minor, &patch);
  FT_Done_Library(library);
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

// What every strike's dots depend on in this process: the format, the
// libraries that draw, and the FreeType settings the environment gives.
const std::string& Versions() {
  static const std::string versions = [] {
    const std::string freetype = FreeTypeVersion();
    if (freetype.empty()) return std::string();
    const char* properties = std::getenv("FREETYPE_PROPERTIES");
    return "format " + std::to_string(kFormat) + " cairo " + cairo_version_string() + " pango " +
           pango_version_string() + " fontconfig " + std::to_string(FcGetVersion()) + " freetype " +
           freetype + " properties " + (properties != nullptr ? properties : "");
  }();
  return versions;
}

// One value of a pattern's element, exactly; false for a value that cannot
// be named (a FreeType face in memory).
bool AppendValue(std::string& out, const FcValue& value) {
  switch (value.type) {
    case FcTypeVoid:
      out += 'v';
      return true;
    case FcTypeInteger:
      out += 'i';
      out += std::to_string(value.u.i);
      return true;
    case FcTypeDouble:
      out += 'd';
      AppendBits(out, value.u.d);
      return true;
    case FcTypeString: {
      const char* text = reinterpret_cast<const char*>(value.u.s);
      out += 's';
      out += std::to_string(std::strlen(text));
      out += ':';
      out += text;
      return true;
    }
    case FcTypeBool:
      out += value.u.b ? "b1" : "b0";
      return true;
    case FcTypeMatrix:
      out += 'm';
      for (double v : {value.u.m->xx, value.u.m->xy, value.u.m->yx, value.u.m->yy}) {
        AppendBits(out, v);
      }
      return true;
    case FcTypeRange: {
      double begin = 0, end = 0;
      if (!FcRangeGetDouble(value.u.r, &begin, &end)) return false;
      out += 'r';
      AppendBits(out, begin);
      AppendBits(out, end);
      return true;
    }
    default:
      return false;
  }
}

// Elements that name and describe a font, choose it or order it, but do not
// change a glyph's dots once its file is chosen. The program's name is one:
// rules that test it change other elements, which the key holds; kept, it
// gave every copy of the program a store of its own.
bool Descriptive(const char* object) {
  for (const char* name :
       {FC_CHARSET, FC_LANG, FC_FAMILY, FC_FAMILYLANG, FC_STYLE, FC_STYLELANG, FC_FULLNAME,
        FC_FULLNAMELANG, FC_CAPABILITY, FC_FOUNDRY, FC_POSTSCRIPT_NAME, FC_ORDER, FC_PRGNAME}) {
    if (std::strcmp(object, name) == 0) return true;
  }
  return false;
}

// The pattern's other elements, sorted by name (the order of elements in a
// pattern may differ from process to process), each value exactly.
bool AppendPattern(std::string& out, FcPattern* pattern) {
  std::vector<std::pair<const char*, std::string>> elements;
  FcPatternIter iter;
  FcPatternIterStart(pattern, &iter);
  for (bool more = FcPatternIterIsValid(pattern, &iter); more;
       more = FcPatternIterNext(pattern, &iter)) {
    const char* object = FcPatternIterGetObject(pattern, &iter);
    if (Descriptive(object)) continue;
    std::string values;
    for (int i = 0, n = FcPatternIterValueCount(pattern, &iter); i < n; ++i) {
      FcValue value;
      if (FcPatternIterGetValue(pattern, &iter, i, &value, nullptr) != FcResultMatch ||
          !AppendValue(values, value)) {
        return false;
      }
      values += ',';
    }
    elements.emplace_back(object, std::move(values));
  }
  std::sort(elements.begin(), elements.end(),
            [](const auto& a, const auto& b) { return std::strcmp(a.first, b.first) < 0; });
  for (const auto& [object, values] : elements) {
    out += object;
    out += '=';
    out += values;
    out += '\n';
  }
  return true;
}

void AppendMatrix(std::string& out, const cairo_matrix_t& m) {
  for (double v : {m.xx, m.yx, m.xy, m.yy, m.x0, m.y0}) AppendBits(out, v);
}

// The scaled font's options, by every getter and the hash, which also
// covers the options cairo keeps to itself (the LCD filter).
std::string OptionsText(cairo_scaled_font_t* font) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_scaled_font_get_font_options(font, options);
  std::string text = "antialias " + std::to_string(cairo_font_options_get_antialias(options)) +
                     " subpixel " + std::to_string(cairo_font_options_get_subpixel_order(options)) +
                     " hintstyle " + std::to_string(cairo_font_options_get_hint_style(options)) +
                     " hintmetrics " +
                     std::to_string(cairo_font_options_get_hint_metrics(options)) + " hash " +
                     std::to_string(cairo_font_options_hash(options));
  const char* variations = cairo_font_options_get_variations(options);
  text += std::string(" variations ") + (variations != nullptr ? variations : "");
#if CAIRO_VERSION >= CAIRO_VERSION_ENCODE(1, 18, 0)
  text += " color " + std::to_string(cairo_font_options_get_color_mode(options)) + " palette " +
          std::to_string(cairo_font_options_get_color_palette(options));
#endif
  cairo_font_options_destroy(options);
  return text;
}

void Put32(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
void Put64(std::string& out, uint64_t v) { out.append(reinterpret_cast<const char*>(&v), 8); }

// Reads what a file holds, never past its end.
struct Reader {
  const uint8_t* at;
  const uint8_t* end;
  bool Take(void* to, size_t count) {
    if (static_cast<size_t>(end - at) < count) return false;
    std::memcpy(to, at, count);
    at += count;
    return true;
  }
  bool Has(size_t count) const { return static_cast<size_t>(end - at) >= count; }
};

bool WriteWhole(const std::string& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const std::string temporary =
      path + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  bool ok = true;
  while (ok && done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    ok = put > 0;
    if (ok) done += static_cast<size_t>(put);
  }
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace

// A strike's glyphs: those of its file, kept as the file's bytes and found
// there when asked for (a label uses a few of the glyphs its strikes hold),
// and those drawn in this process since, kept whole until the next save.
class GlyphStore::Strike {
 public:
  // Where a glyph's record lies in the file's bytes.
  struct Stored {
    uint32_t index;
    uint32_t offset;
    uint32_t bytes;
  };

  std::string key;
  std::unique_ptr<uint8_t[]> file;  // the file's bytes as read; null: none
  std::vector<Stored> stored;       // by glyph index, ascending
  std::map<unsigned long, GlyphRaster> added;
  size_t fileBytes = 0;  // of the file that would hold them all
  size_t diskBytes = 0;  // of its file as last read or written here; 0: none
  bool changed = false;  // gained glyphs since read or written

  // The file's bytes, checksum last.
  std::string Serialize() const;
  // Takes a file made by Serialize for this key, every record checked; false
  // (and nothing taken) for anything else.
  bool Parse(std::unique_ptr<uint8_t[]> bytes, size_t size);
  bool Find(unsigned long index, GlyphRaster& out) const;
  bool Has(unsigned long index) const;
  static size_t RecordBytes(const GlyphRaster& r) {
    return kRecordBytes + static_cast<size_t>(r.width) * static_cast<size_t>(r.height);
  }

 private:
  const Stored* Lookup(unsigned long index) const;
};

namespace {

void AppendRecord(std::string& out, unsigned long index, const GlyphRaster& r) {
  Put32(out, static_cast<uint32_t>(index));
  for (double v : {r.box.x0, r.box.y0, r.box.x1, r.box.y1}) Put64(out, std::bit_cast<uint64_t>(v));
  out += static_cast<char>(r.empty ? 1 : 0);
  for (int v : {r.x, r.y, r.width, r.height}) Put32(out, static_cast<uint32_t>(v));
  for (int y = 0; y < r.height; ++y) {
    out.append(reinterpret_cast<const char*>(r.dots.data()) + static_cast<size_t>(y) * r.stride,
               static_cast<size_t>(r.width));
  }
}

// One glyph's record from `in`, every field checked; with `dots` its dots
// are copied into `r` (rows padded as GlyphRaster wants), else skipped.
bool ReadRecord(Reader& in, uint32_t& index, GlyphRaster& r, bool dots) {
  uint64_t box[4];
  uint8_t empty;
  int32_t place[4];
  if (!in.Take(&index, 4) || index >= GlyphRasters::kMaxIndex || !in.Take(box, sizeof box) ||
      !in.Take(&empty, 1) || empty > 1 || !in.Take(place, sizeof place)) {
    return false;
  }
  r.box = {std::bit_cast<double>(box[0]), std::bit_cast<double>(box[1]),
           std::bit_cast<double>(box[2]), std::bit_cast<double>(box[3])};
  r.empty = empty != 0;
  for (double v : {r.box.x0, r.box.y0, r.box.x1, r.box.y1}) {
    if (!(std::abs(v) < GlyphRasters::kFarthest)) return false;  // NaN too
  }
  const int64_t width = place[2], height = place[3];
  if (width < 0 || height < 0 ||
      width * height > static_cast<int64_t>(GlyphRasters::kMaxGlyphDots) ||
      (width == 0) != (height == 0) || (r.empty && width != 0)) {
    return false;
  }
  r.x = place[0], r.y = place[1];
  if (width == 0 && (r.x != 0 || r.y != 0)) return false;
  r.width = static_cast<int>(width), r.height = static_cast<int>(height);
  // The dots lie where cairo draws them: about the outline's bounds.
  if (width != 0 &&
      (r.x < std::floor(r.box.x0) - kReach || r.y < std::floor(r.box.y0) - kReach ||
       r.x + width > std::ceil(r.box.x1) + kReach || r.y + height > std::ceil(r.box.y1) + kReach)) {
    return false;
  }
  const size_t count = static_cast<size_t>(width * height);
  if (!in.Has(count)) return false;
  r.stride = width != 0 ? GlyphRaster::StrideFor(r.width) : 0;
  r.dots.clear();
  if (dots && width != 0) {
    r.dots.assign(static_cast<size_t>(r.stride) * r.height, 0);
    for (int y = 0; y < r.height; ++y) {
      std::memcpy(r.dots.data() + static_cast<size_t>(y) * r.stride, in.at, width);
      in.at += width;
    }
  } else {
    in.at += count;
  }
  return true;
}

}  // namespace

std::string GlyphStore::Strike::Serialize() const {
  std::string out;
  out.reserve(fileBytes);
  out.append(kMagic, sizeof kMagic);
  Put32(out, kFormat);
  Put32(out, static_cast<uint32_t>(key.size()));
  out += key;
  Put32(out, static_cast<uint32_t>(stored.size() + added.size()));
  // Both lists by index, merged: a file's records are in ascending order.
  auto next = added.begin();
  for (const Stored& glyph : stored) {
    for (; next != added.end() && next->first < glyph.index; ++next) {
      AppendRecord(out, next->first, next->second);
    }
    out.append(reinterpret_cast<const char*>(file.get()) + glyph.offset, glyph.bytes);
  }
  for (; next != added.end(); ++next) AppendRecord(out, next->first, next->second);
  Put64(out, GlyphStore::Checksum(out.data(), out.size()));
  return out;
}

bool GlyphStore::Strike::Parse(std::unique_ptr<uint8_t[]> bytes, size_t size) {
  if (size < kFrameBytes) return false;
  const size_t body = size - 8;
  uint64_t sum;
  std::memcpy(&sum, bytes.get() + body, 8);
  if (sum != GlyphStore::Checksum(bytes.get(), body)) return false;
  Reader in{bytes.get(), bytes.get() + body};
  char magic[sizeof kMagic];
  uint32_t format = 0, keySize = 0, count = 0;
  if (!in.Take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0 ||
      !in.Take(&format, 4) || format != kFormat || !in.Take(&keySize, 4) || keySize != key.size() ||
      !in.Has(keySize) || std::memcmp(in.at, key.data(), keySize) != 0) {
    return false;
  }
  in.at += keySize;
  if (!in.Take(&count, 4) || count > GlyphRasters::kMaxIndex) return false;
  std::vector<Stored> read;
  read.reserve(count);
  GlyphRaster r;
  for (uint32_t i = 0; i < count; ++i) {
    const auto offset = static_cast<uint32_t>(in.at - bytes.get());
    uint32_t index;
    if (!ReadRecord(in, index, r, false)) return false;
    // Ascending, as written: a glyph twice or out of order is not our file.
    if (!read.empty() && index <= read.back().index) return false;
    read.push_back({index, offset, static_cast<uint32_t>(in.at - bytes.get()) - offset});
  }
  if (in.at != in.end) return false;
  stored = std::move(read);
  file = std::move(bytes);
  fileBytes = size;
  return true;
}

const GlyphStore::Strike::Stored* GlyphStore::Strike::Lookup(unsigned long index) const {
  auto found = std::lower_bound(stored.begin(), stored.end(), index,
                                [](const Stored& s, unsigned long i) { return s.index < i; });
  return found != stored.end() && found->index == index ? &*found : nullptr;
}

bool GlyphStore::Strike::Has(unsigned long index) const {
  return added.count(index) != 0 || Lookup(index) != nullptr;
}

bool GlyphStore::Strike::Find(unsigned long index, GlyphRaster& out) const {
  if (auto found = added.find(index); found != added.end()) {
    out = found->second;
    return true;
  }
  const Stored* glyph = Lookup(index);
  if (glyph == nullptr) return false;
  // Checked whole when the file was read; read again the same way.
  Reader in{file.get() + glyph->offset, file.get() + glyph->offset + glyph->bytes};
  uint32_t read;
  return ReadRecord(in, read, out, true);
}

GlyphStore::GlyphStore(std::string folder, size_t maxFolderBytes, size_t maxStrikeBytes)
    : folder_(std::move(folder)),
      maxFolderBytes_(maxFolderBytes),
      maxStrikeBytes_(maxStrikeBytes) {}

GlyphStore::~GlyphStore() = default;

GlyphStore* GlyphStore::Process() {
  static GlyphStore* store = [] {
    const std::string folder = DefaultFolder();
    return folder.empty() ? nullptr : new GlyphStore(folder);
  }();
  return store;
}

std::string GlyphStore::DefaultFolder() { return CacheLocation("LABELHOST_GLYPH_CACHE", "glyphs"); }

std::string GlyphStore::FontKey(PangoFont* source, cairo_scaled_font_t* font) {
  if (source == nullptr || font == nullptr || !PANGO_IS_FC_FONT(source) ||
      cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS ||
      cairo_scaled_font_get_type(font) != CAIRO_FONT_TYPE_FT || Versions().empty()) {
    return "";
  }
  FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(source));
  FcBool embolden = FcFalse;
  FcChar8* file = nullptr;
  if (pattern == nullptr ||
      (FcPatternGetBool(pattern, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden) ||
      FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) {
    return "";
  }
  struct stat info;
  if (::stat(reinterpret_cast<const char*>(file), &info) != 0 || !S_ISREG(info.st_mode)) return "";
  std::string key = Versions() + "\nfile " + std::to_string(info.st_size) + " " +
                    std::to_string(info.st_mtim.tv_sec) + "." +
                    std::to_string(info.st_mtim.tv_nsec) + "\n";
  if (!AppendPattern(key, pattern)) return "";
  cairo_matrix_t matrix;
  cairo_scaled_font_get_font_matrix(font, &matrix);
  key += "font matrix ";
  AppendMatrix(key, matrix);
  cairo_scaled_font_get_ctm(font, &matrix);
  key += "\nfont ctm ";
  AppendMatrix(key, matrix);
  key += '\n';
  key += OptionsText(font);
  key += '\n';
  return key;
}

std::string GlyphStore::StrikeKey(const std::string& fontKey, const cairo_matrix_t& matrix) {
  std::string key = fontKey + "drawn ";
  for (double v : {matrix.xx, matrix.yx, matrix.xy, matrix.yy}) AppendBits(key, v);
  key += '\n';
  return key;
}

std::string GlyphStore::FileName(const std::string& strikeKey) {
  char name[20];
  snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(Fnv(strikeKey)));
  return name;
}

std::shared_ptr<GlyphStore::Strike> GlyphStore::Open(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<Strike>& strike = strikes_[key];
  if (strike) return strike;
  strike = std::make_shared<Strike>();
  strike->key = key;
  std::unique_ptr<uint8_t[]> bytes;
  size_t size = 0;
  const bool read = ReadCacheFile(folder_ + "/" + FileName(key), maxStrikeBytes_, bytes, size);
  strike->diskBytes = read ? size : 0;
  if (!read || !strike->Parse(std::move(bytes), size)) {
    strike->fileBytes = kFrameBytes + key.size();
  }
  return strike;
}

bool GlyphStore::Find(Strike& strike, unsigned long index, GlyphRaster& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  return strike.Find(index, out);
}

void GlyphStore::Add(Strike& strike, unsigned long index, const GlyphRaster& raster) {
  if (index >= GlyphRasters::kMaxIndex) return;
  std::lock_guard<std::mutex> lock(mutex_);
  const size_t bytes = Strike::RecordBytes(raster);
  if (strike.Has(index) || strike.fileBytes + bytes > maxStrikeBytes_) return;
  strike.added[index] = raster;
  strike.fileBytes += bytes;
  strike.changed = true;
}

void GlyphStore::Save() {
  std::lock_guard<std::mutex> saving(saveMutex_);
  std::vector<std::pair<std::string, std::string>> files;  // name, bytes
  long long grown = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& [key, strike] : strikes_) {
      if (!strike->changed) continue;
      strike->changed = false;
      files.emplace_back(FileName(key), strike->Serialize());
      grown += static_cast<long long>(files.back().second.size()) -
               static_cast<long long>(strike->diskBytes);
      strike->diskBytes = files.back().second.size();
    }
    DropUnused();
  }
  if (files.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  for (const auto& [name, bytes] : files) WriteWhole(folder_ + "/" + name, bytes);
  // The folder is listed once per process, then followed by what this
  // process writes, and listed again when that would pass the bound.
  if (folderBytes_ < 0 || folderBytes_ + grown > static_cast<long long>(maxFolderBytes_)) {
    folderBytes_ = Trim();
  } else {
    folderBytes_ += grown;
  }
}

// Strikes no worker holds are let go when the strikes held pass the bound.
void GlyphStore::DropUnused() {
  size_t held = 0;
  for (const auto& [key, strike] : strikes_) held += strike->fileBytes;
  if (held <= kMaxHeldBytes) return;
  for (auto it = strikes_.begin(); it != strikes_.end();) {
    if (it->second.use_count() == 1 && !it->second->changed) {
      it = strikes_.erase(it);
    } else {
      ++it;
    }
  }
}

// Drops the oldest files until the folder is within its bound; what remains.
long long GlyphStore::Trim() {
  struct File {
    std::string name;
    long long time;  // nanoseconds
    long long size;
  };
  std::vector<File> files;
  long long total = 0;
  DIR* dir = ::opendir(folder_.c_str());
  if (dir == nullptr) return 0;
  while (const dirent* entry = ::readdir(dir)) {
    struct stat info;
    if (entry->d_name[0] == '.' || ::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 ||
        !S_ISREG(info.st_mode)) {
      continue;
    }
    files.push_back(
        {entry->d_name,
         static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec,
         static_cast<long long>(info.st_size)});
    total += files.back().size;
  }
  if (total > static_cast<long long>(maxFolderBytes_)) {
    std::sort(files.begin(), files.end(),
              [](const File& a, const File& b) { return a.time < b.time; });
    for (const File& file : files) {
      if (total <= static_cast<long long>(maxFolderBytes_)) break;
      if (::unlinkat(::dirfd(dir), file.name.c_str(), 0) == 0) total -= file.size;
    }
  }
  ::closedir(dir);
  return total;
}

}  // namespace vellum
