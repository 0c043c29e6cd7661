#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace orven {

// A compiled HTML help file, read through chmlib: its pages, pictures and
// style sheets by path, the topic of each numeric context, and the names of
// its contents, index and default page.
class ChmFile {
public:
  explicit ChmFile(const std::string& path);
  ~ChmFile();
  ChmFile(const ChmFile&) = delete;
  ChmFile& operator=(const ChmFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }

  // The bytes of a stored file ("/index.htm"); nothing when it is not there.
  std::optional<std::string> Read(std::string_view path) const;

  // The path of the topic of a context; context 0 is the default page.
  std::optional<std::string> TopicOf(std::uint32_t context) const;
  const std::map<std::uint32_t, std::string>& ContextMap() const { return contexts_; }

  const std::string& Title() const { return title_; }
  const std::string& DefaultTopic() const { return defaultTopic_; }
  const std::string& ContentsFile() const { return contentsFile_; }
  const std::string& IndexFile() const { return indexFile_; }

private:
  void ReadSystem();
  void ReadContexts();
  std::optional<std::string> StoredPath(std::string name) const;

  chmFile* file_ = nullptr;
  std::string title_, defaultTopic_, contentsFile_, indexFile_;
  std::map<std::uint32_t, std::string> contexts_;
};

// One entry of a contents (.hhc) or index (.hhk) sitemap.
struct SitemapEntry {
  std::string Name;
  std::string Local;  // the page, relative to the file's root
  int Level = 0;      // nesting depth, 0 at the top
};

// Reads the entries of a sitemap in document order.
std::vector<SitemapEntry> ReadSitemap(std::string_view html);

}  // namespace orven
