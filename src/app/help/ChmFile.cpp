#include "app/help/ChmFile.h"

#include <chm_lib.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "model/Windows1252.h"

namespace orven {
namespace {

std::uint32_t Dword(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
  return value;
}

std::uint16_t Word(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::string CString(const std::string& bytes, std::size_t at, std::size_t end) {
  end = std::min(end, bytes.size());
  if (at >= end) return {};
  const std::size_t stop = bytes.find('\0', at);
  return bytes.substr(at, std::min(stop == std::string::npos ? end : stop, end) - at);
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string DecodeEntities(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    const std::size_t semi = text.find(';', i);
    if (semi == std::string_view::npos || semi - i > 8) {
      out += '&';
      continue;
    }
    const std::string name(text.substr(i + 1, semi - i - 1));
    std::uint32_t code = 0;
    if (name == "amp") code = '&';
    else if (name == "lt") code = '<';
    else if (name == "gt") code = '>';
    else if (name == "quot") code = '"';
    else if (name == "apos") code = '\'';
    else if (name.size() > 1 && name[0] == '#')
      code = static_cast<std::uint32_t>(std::strtoul(name.c_str() + (name[1] == 'x' ? 2 : 1), nullptr,
                                                     name[1] == 'x' ? 16 : 10));
    if (code == 0 || code > 0x10FFFF) {
      out += '&';
      continue;
    }
    AppendUtf8(out, code);
    i = semi;
  }
  return out;
}

// The value of an attribute in the text of one tag, quoted or not.
std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
  const std::string lower = Lower(tag);
  for (std::size_t at = 0; (at = lower.find(name, at)) != std::string::npos; ++at) {
    if (at > 0 && !std::isspace(static_cast<unsigned char>(lower[at - 1]))) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size()) return std::string();
    if (tag[i] == '"' || tag[i] == '\'') {
      const std::size_t end = tag.find(tag[i], i + 1);
      return DecodeEntities(tag.substr(i + 1, (end == std::string_view::npos ? tag.size() : end) - i - 1));
    }
    std::size_t end = i;
    while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>') ++end;
    return DecodeEntities(tag.substr(i, end - i));
  }
  return std::nullopt;
}

}  // namespace

ChmFile::ChmFile(const std::string& path) : file_(chm_open(path.c_str())) {
  if (!file_) return;
  ReadSystem();
  ReadContexts();
}

ChmFile::~ChmFile() {
  if (file_) chm_close(file_);
}

std::optional<std::string> ChmFile::Read(std::string_view path) const {
  if (!file_) return std::nullopt;
  std::string name(path);
  if (name.empty() || name[0] != '/') name.insert(name.begin(), '/');
  chmUnitInfo unit{};
  if (chm_resolve_object(file_, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  // Help pages are small; a damaged length must not ask for gigabytes.
  constexpr LONGUINT64 Limit = 64u << 20;
  if (unit.length > Limit) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(unit.length), '\0');
  if (unit.length == 0) return bytes;
  const LONGINT64 got = chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                            static_cast<LONGINT64>(unit.length));
  if (got <= 0) return std::nullopt;
  bytes.resize(static_cast<std::size_t>(got));
  return bytes;
}

void ChmFile::ReadSystem() {
  // #SYSTEM: a version, then records of a code, a length and the data.
  const std::optional<std::string> system = Read("/#SYSTEM");
  if (!system || system->size() < 4) return;
  for (std::size_t at = 4; at + 4 <= system->size();) {
    const std::uint16_t code = Word(*system, at);
    const std::uint16_t length = Word(*system, at + 2);
    const std::size_t data = at + 4;
    if (data + length > system->size()) break;
    const std::string text = CString(*system, data, data + length);
    switch (code) {
      case 0: contentsFile_ = text; break;
      case 1: indexFile_ = text; break;
      case 2: defaultTopic_ = text; break;
      case 3: title_ = text; break;
      default: break;
    }
    at = data + length;
  }
}

std::optional<std::string> ChmFile::StoredPath(std::string name) const {
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.empty()) return std::nullopt;
  if (name[0] != '/') name.insert(name.begin(), '/');
  // Some compilers store an alias with the folder the project was compiled
  // in; the file inside the help file is that path less leading folders.
  for (std::string candidate = name;;) {
    chmUnitInfo unit{};
    if (chm_resolve_object(file_, candidate.c_str(), &unit) == CHM_RESOLVE_SUCCESS) return candidate;
    const std::size_t next = candidate.find('/', 1);
    if (next == std::string::npos) return std::nullopt;
    candidate.erase(0, next);
  }
}

void ChmFile::ReadContexts() {
  // #IVB: its length, then pairs of a context number and the offset of the
  // topic's name in #STRINGS.
  const std::optional<std::string> map = Read("/#IVB");
  const std::optional<std::string> strings = Read("/#STRINGS");
  if (!map || !strings || map->size() < 4) return;
  const std::size_t end = std::min<std::size_t>(map->size(), 4 + std::size_t{Dword(*map, 0)});
  for (std::size_t at = 4; at + 8 <= end; at += 8) {
    const std::uint32_t context = Dword(*map, at);
    const std::uint32_t offset = Dword(*map, at + 4);
    if (offset >= strings->size()) continue;
    if (std::optional<std::string> path = StoredPath(CString(*strings, offset, strings->size())))
      contexts_[context] = *path;
  }
}

std::optional<std::string> ChmFile::TopicOf(std::uint32_t context) const {
  if (const auto found = contexts_.find(context); found != contexts_.end()) return found->second;
  if (context == 0 && !defaultTopic_.empty()) return StoredPath(defaultTopic_);
  return std::nullopt;
}

std::vector<SitemapEntry> ReadSitemap(std::string_view html) {
  std::vector<SitemapEntry> entries;
  int depth = 0;
  std::optional<SitemapEntry> open;
  for (std::size_t at = 0; (at = html.find('<', at)) != std::string_view::npos;) {
    const std::size_t close = html.find('>', at);
    if (close == std::string_view::npos) break;
    const std::string_view tag = html.substr(at + 1, close - at - 1);
    at = close + 1;
    std::size_t nameEnd = 0;
    while (nameEnd < tag.size() && !std::isspace(static_cast<unsigned char>(tag[nameEnd]))) ++nameEnd;
    const std::string name = Lower(tag.substr(0, nameEnd));
    if (name == "ul") {
      ++depth;
    } else if (name == "/ul") {
      depth = std::max(0, depth - 1);
    } else if (name == "object") {
      open = SitemapEntry{};
      open->Level = std::max(0, depth - 1);
    } else if (name == "param" && open) {
      const std::string param = Lower(Attribute(tag, "name").value_or(""));
      const std::string value = Attribute(tag, "value").value_or("");
      if (param == "name" && open->Name.empty()) open->Name = value;
      else if (param == "local" && open->Local.empty()) open->Local = value;
    } else if (name == "/object" && open) {
      if (!open->Name.empty()) entries.push_back(*open);
      open.reset();
    }
  }
  return entries;
}

}  // namespace orven
