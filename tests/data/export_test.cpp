// The three export files read back, and what a failed export leaves.
#include "data/export.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "support/export_points.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::LoadPoints;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Unzip(const std::string& book, const std::string& member) {
  std::string out;
  std::FILE* p = ::popen(("unzip -p '" + book + "' " + member).c_str(), "r");
  char buf[4096];
  for (size_t n; p && (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  if (p) ::pclose(p);
  return out;
}

class ExportTest : public testing::ProgramFolderTest {
 protected:
  std::string Export(ExportFormat f, const std::string& name) {
    ExportError e;
    EXPECT_TRUE(WriteExport(f, folder_.File(name), AllNoZeroRows(), {}, e)) << e.reason;
    return folder_.File(name);
  }
};

// -12.7 is cut to -12, 0.05 shows 0.0 and 45 shows 45.0; the zero point is left out.
const std::vector<testing::Point> kPoints = {{-12.7f, 3, 990, 0.05f}, {0, 0, 0, 7}, {3, -0.5f, 1000, 45}};

TEST_F(ExportTest, TextFileHasFixedColumnsAndTruncatedValues) {
  LoadPoints(kPoints);
  const std::string t = ReadText(Export(ExportFormat::Text, "a.txt"));
  ASSERT_EQ(t.size(), 151u * 3);
  EXPECT_EQ(t.substr(0, 40), "No      Date        Time        X(mg)   ");
  auto cell = [&](int line, size_t at, size_t width) { return t.substr(151 * line + at, width); };
  EXPECT_EQ(cell(1, 0, 32), " 1      7/5/2013    9:5:7       ");
  EXPECT_EQ(cell(1, 32, 33), "-12        3          990        ");
  EXPECT_EQ(cell(1, 86, 21), "0.0                  ");
  EXPECT_EQ(cell(2, 0, 8), " 2      ");
  EXPECT_EQ(cell(2, 43, 10), "-0        ");
  EXPECT_EQ(cell(2, 86, 42), "45.0                 -45.0                ");
  EXPECT_EQ(t.substr(149, 2), "\r\n");
  EXPECT_FLOAT_EQ(Data.RealData[1].X, -12.7f);  // the export works on copies

  LoadPoints({{0, 0, 0, 1}});
  EXPECT_EQ(ReadText(Export(ExportFormat::Text, "empty.txt")), t.substr(0, 151));
}

TEST_F(ExportTest, WorkbookHoldsNumbersWithFixedFormatsAndTexts) {
  LoadPoints(kPoints);
  const std::string book = Export(ExportFormat::Workbook, "a.xlsx");
  const std::string sheet = Unzip(book, "xl/worksheets/sheet1.xml");
  const std::string styles = Unzip(book, "xl/styles.xml");
  ASSERT_NE(sheet.find("<sheetData>"), std::string::npos) << book;
  EXPECT_NE(Unzip(book, "xl/workbook.xml").find("name=\"sheet1\""), std::string::npos);

  // Style index -> number format, from cellXfs and the custom numFmts.
  std::map<std::string, std::string> formats{{"0", "General"}};
  std::smatch m;
  for (std::string s = styles; std::regex_search(s, m, std::regex("numFmtId=\"(\\d+)\" formatCode=\"([^\"]*)\"")); s = m.suffix())
    formats[m[1]] = m[2];
  std::vector<std::string> xf;
  std::string xfs = styles.substr(styles.find("<cellXfs"));
  for (; std::regex_search(xfs, m, std::regex("<xf numFmtId=\"(\\d+)\"")); xfs = m.suffix()) xf.push_back(formats[m[1]]);

  std::map<std::string, std::string> cells;  // "D2" -> "n:-12:0" or "s:text"
  const std::regex cell("<c r=\"([A-Z]+\\d+)\"(?: s=\"(\\d+)\")?( t=\"inlineStr\")?>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>");
  for (std::string s = sheet; std::regex_search(s, m, cell); s = m.suffix())
    cells[m[1]] = m[3].matched ? "s:" + m[5].str() : "n:" + m[4].str() + ":" + xf.at(std::stoul(m[2].str()));

  const std::map<std::string, std::string> expected = {
      {"A1", "s:No"}, {"B1", "s:Date"}, {"C1", "s:Time"}, {"D1", "s:X(mg)"}, {"G1", "s:X Angle(degree)"},
      {"I1", "s:Z Angle(degree)"}, {"A2", "n:1:0"}, {"B2", "s:7/5/2013  "}, {"C2", "s:9:5:7   "},
      {"D2", "n:-12:0"}, {"E2", "n:3:0"}, {"F2", "n:990:0"}, {"G2", "n:0:0.0"}, {"H2", "n:0:0.0"},
      {"A3", "n:2:0"}, {"E3", "n:0:0"}, {"G3", "n:45:0.0"}, {"H3", "n:-45:0.0"}, {"I3", "n:0:0.0"}};
  for (const auto& [ref, value] : expected) EXPECT_EQ(cells[ref], value) << ref;
  EXPECT_EQ(cells.size(), 27u);  // nine columns, the zero point left out

  std::vector<double> widths;
  std::string cols = sheet;
  for (; std::regex_search(cols, m, std::regex("<col [^>]*width=\"([0-9.]+)\"")); cols = m.suffix())
    widths.push_back(std::stod(m[1]) - 0.7109375);  // the writer adds the cell padding
  EXPECT_EQ(widths, (std::vector<double>{4, 10, 10, 10, 10, 10, 15, 15, 15}));
}

TEST_F(ExportTest, CsvReadsBackToTheSameFloats) {
  LoadPoints(kPoints);
  std::istringstream in(ReadText(Export(ExportFormat::Csv, "a.csv")));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "No,Date,Time,X(mg),Y(mg),Z(mg),Vector Sum(mg),X Angle(degree),Y Angle(degree),Z Angle(degree)");
  for (int n : {1, 3}) {
    ASSERT_TRUE(std::getline(in, line));
    std::vector<std::string> f;
    std::stringstream ls(line);
    for (std::string s; std::getline(ls, s, ',');) f.push_back(s);
    ASSERT_EQ(f.size(), 10u) << line;
    const RealDataRecord& r = Data.RealData[n];
    EXPECT_EQ(f[0] + f[1] + f[2], std::to_string(n) + "2013-05-0709:05:07");
    const float values[7] = {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(std::strtof(f[3 + c].c_str(), nullptr), values[c]) << line;
  }
  EXPECT_FALSE(std::getline(in, line));
}

TEST_F(ExportTest, FailuresLeaveNothingUnderTheName) {
  LoadPoints(kPoints);
  std::filesystem::create_directory(folder_.File("taken.txt"));
  std::filesystem::create_directory(folder_.File("taken.xlsx"));
  std::filesystem::create_directory(folder_.File("taken.csv"));
  for (ExportFormat f : {ExportFormat::Text, ExportFormat::Workbook, ExportFormat::Csv}) {
    const char* ext = f == ExportFormat::Text ? ".txt" : f == ExportFormat::Csv ? ".csv" : ".xlsx";
    for (const std::string& name : {folder_.File("missing/a") + ext, folder_.File("taken") + ext}) {
      ExportError e;
      EXPECT_FALSE(WriteExport(f, name, AllNoZeroRows(), {}, e)) << name;
      EXPECT_EQ(e.reason.rfind(name + ": ", 0), 0u) << e.reason;
    }
  }
  for (const auto& e : std::filesystem::directory_iterator(folder_.path())) {
    const std::string name = e.path().filename().string();
    EXPECT_TRUE(name.rfind("taken.", 0) != 0 || e.is_directory()) << name;
    EXPECT_EQ(name.find(".part"), std::string::npos) << name;  // no staged file left behind
  }
}

TEST_F(ExportTest, RowsOfASpanAreItsNonZeroPoints) {
  LoadPoints({{1, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {0, 0, 0, 0}});
  const int cases[][4] = {{1, 6, 1, 3}, {2, 3, 2, 0}, {2, 4, 2, 1}, {4, 9, 2, 2}, {7, 9, 4, 0}};
  for (const auto& [from, to, first, count] : cases) {
    const ExportRows r = NoZeroRowsBetween(from, to);
    EXPECT_EQ(r.Count(), count) << from << ".." << to;
    if (count) {
      EXPECT_EQ(r.first, first) << from << ".." << to;
    }
  }
}

}  // namespace
}  // namespace accelog
