// The source tree's shape: includes point down the layers, Qt stays in the
// Qt layer, no process-wide state, and the old form's handler names stay out
// of the Qt-free code.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Lower ranks may not include higher ones; cli sits on top of everything.
const std::map<std::string, int> kRank = {{"core", 0}, {"model", 1}, {"device", 2}, {"sim", 2},
                                          {"app", 3},  {"ui", 4},    {"cli", 5}};

struct Source {
  std::string layer, path, text;
  bool qt() const { return text.find("#include <Q") != std::string::npos; }
};

std::vector<Source> Sources() {
  std::vector<Source> out;
  for (const auto& e : fs::recursive_directory_iterator(ACCELOG_SOURCE_DIR "/src")) {
    const auto ext = e.path().extension();
    if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string rel = fs::relative(e.path(), ACCELOG_SOURCE_DIR "/src").string();
    std::ifstream in(e.path());
    std::stringstream s;
    s << in.rdbuf();
    out.push_back({rel.substr(0, rel.find('/')), rel, s.str()});
  }
  return out;
}

std::string Lines(const std::vector<std::string>& v) {
  std::string out;
  for (const auto& s : v) out += s + "\n";
  return out;
}

// Every match of `re` in the sources `pick` selects, as "path: match".
std::vector<std::string> Find(const std::regex& re, bool (*pick)(const Source&)) {
  std::vector<std::string> hits;
  for (const auto& s : Sources()) {
    if (!pick(s)) continue;
    for (std::sregex_iterator i(s.text.begin(), s.text.end(), re), end; i != end; ++i)
      hits.push_back(s.path + ": " + i->str());
  }
  return hits;
}

TEST(Layering, IncludesPointDown) {
  const std::regex include(R"re(#include "([a-z]+)/)re");
  std::vector<std::string> up;
  const auto sources = Sources();
  ASSERT_GT(sources.size(), 50u);
  for (const auto& s : sources) {
    ASSERT_TRUE(kRank.count(s.layer)) << s.path << " is in no known layer";
    for (std::sregex_iterator i(s.text.begin(), s.text.end(), include), end; i != end; ++i) {
      const std::string to = (*i)[1];
      if (kRank.count(to) && kRank.at(to) > kRank.at(s.layer)) up.push_back(s.path + " -> " + to);
      if (s.layer == "sim" && to == "device") up.push_back(s.path + " -> " + to);
    }
  }
  EXPECT_TRUE(up.empty()) << Lines(up);
}

TEST(Layering, QtOnlyInTheQtLayer) {
  const auto hits = Find(std::regex("#include <Q[A-Za-z]*>"), [](const Source& s) {
    return s.layer != "ui" && s.layer != "cli";
  });
  EXPECT_TRUE(hits.empty()) << Lines(hits);
}

// Variables at namespace scope, and static ones in functions, outlive every
// owner: only the program folder may be one.
TEST(Layering, NoProcessWideState) {
  const std::regex at_namespace_scope(
      R"(^(?!.*\b(const|constexpr|using|typedef|return|class|struct|enum|namespace|template|friend)\b))"
      R"((static\s+|extern\s+)?[A-Za-z_][\w:<>,\*& ]*[\s\*&]\w+(\[[^\]]*\])?(\s*=[^;]*|\{[^;]*\})?;\s*(//.*)?$)");
  const std::regex static_in_function(R"(^\s+static\s+(?!const\b|constexpr\b|inline\b)[^(;]*\b\w+(\s*=[^;]*|\{[^;]*\})?;)");
  std::vector<std::string> found;
  for (const auto& s : Sources()) {
    std::istringstream in(s.text);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      if (!std::regex_search(line, at_namespace_scope) && !std::regex_search(line, static_in_function)) continue;
      if (line.find("ProgramPath") == std::string::npos) found.push_back(s.path + ":" + std::to_string(n) + ": " + line);
    }
  }
  EXPECT_TRUE(found.empty()) << Lines(found);
}

TEST(Layering, HandlerNamesOnlyWhereControlsAreWired) {
  const std::regex handler(
      R"(\b(File0\d\d_Click|Timer[0-9A-Za-z]*_Timer|MSComm_Timer|Check\d+_Click|Picture\d+_Click|)"
      R"(Command\d+_Click|Frame\d+\b|DispLeftLable[A-Z]|[A-Za-z]+_(Boolean|String|Long)\b))");
  const auto hits = Find(handler, [](const Source& s) { return !s.qt(); });
  EXPECT_TRUE(hits.empty()) << Lines(hits);
}

}  // namespace
