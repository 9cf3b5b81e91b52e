// The layers of the source tree and the one-way rule between them (see
// ARCHITECTURE.md), checked on the include lines of every file under src/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path SOURCE_ROOT = fs::path(FG_TEST_SOURCE_DIR) / ".." / "src";

// Bottom to top. A file may include headers of its own folder and of the
// folders of lower layers only.
const std::map<std::string, int> LAYER = {
    {"platform", 0}, {"rules", 1}, {"board", 2}, {"palette", 3}, {"sound", 3},
    {"scores", 3},   {"render", 4}, {"ui", 5},    {"screens", 6},
};

struct SourceFile {
  std::string folder;  // e.g. "rules"
  std::string module;  // e.g. "rules/mines" (header and source together)
  std::vector<std::string> quoted;  // "x/y.h" includes, as written
  std::vector<std::string> system;  // <...> includes
};

std::vector<SourceFile> source_files() {
  std::vector<SourceFile> files;
  const std::regex include_line(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  for (const auto& entry : fs::recursive_directory_iterator(SOURCE_ROOT)) {
    const fs::path& p = entry.path();
    if (p.extension() != ".h" && p.extension() != ".cpp") continue;
    SourceFile f;
    f.folder = p.parent_path().filename().string();
    f.module = f.folder + "/" + p.stem().string();
    std::ifstream in(p);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
      if (std::regex_search(line, m, include_line)) (m[1] == "\"" ? f.quoted : f.system).push_back(m[2]);
    files.push_back(f);
  }
  return files;
}

std::string folder_of(const std::string& include) { return include.substr(0, include.find('/')); }
std::string module_of(const std::string& include) { return include.substr(0, include.rfind('.')); }

}  // namespace

TEST(Layers, EveryFolderIsALayer) {
  const auto files = source_files();
  ASSERT_GT(files.size(), 40u);
  for (const SourceFile& f : files) EXPECT_TRUE(LAYER.count(f.folder)) << f.module << ": a folder of no layer";
}

TEST(Layers, IncludesPointDownOrAcrossTheirOwnFolder) {
  for (const SourceFile& f : source_files()) {
    if (!LAYER.count(f.folder)) continue;
    for (const std::string& inc : f.quoted) {
      const std::string to = folder_of(inc);
      ASSERT_TRUE(LAYER.count(to)) << f.module << " includes " << inc;
      if (to == f.folder) continue;
      EXPECT_LT(LAYER.at(to), LAYER.at(f.folder)) << f.module << " includes " << inc << ", not of a lower layer";
    }
  }
}

TEST(Layers, TheRulesAndTheScoresUseNoDrawingOrSound) {
  for (const SourceFile& f : source_files()) {
    if (f.folder != "rules" && f.folder != "scores") continue;
    for (const std::string& inc : f.system)
      EXPECT_EQ(inc.rfind("allegro", 0), std::string::npos) << f.module << " includes <" << inc << ">";
  }
}

TEST(Layers, NoCircleOfModules) {
  std::map<std::string, std::set<std::string>> edges;
  for (const SourceFile& f : source_files())
    for (const std::string& inc : f.quoted)
      if (module_of(inc) != f.module) edges[f.module].insert(module_of(inc));
  // Depth-first search; a module met again while on the path closes a circle.
  std::map<std::string, int> mark;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::function<void(const std::string&)> visit = [&](const std::string& m) {
    mark[m] = 1;
    path.push_back(m);
    for (const std::string& next : edges[m]) {
      if (mark[next] == 1) {
        std::string circle;
        for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) circle += *it + " -> ";
        ADD_FAILURE() << "include circle: " << circle << next;
      } else if (mark[next] == 0) {
        visit(next);
      }
    }
    path.pop_back();
    mark[m] = 2;
  };
  for (const auto& e : edges)
    if (mark[e.first] == 0) visit(e.first);
}
