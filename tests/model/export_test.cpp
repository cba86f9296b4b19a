// The three export files read back, and what a failed export leaves.
#include "model/export.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "support/export_points.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog {
namespace {

using testing::LoadPoints;

std::string Read(const std::string& path) {
  const auto b = testing::ReadBytes(path);
  return {b.begin(), b.end()};
}

// Every match of a pattern, as its groups.
std::vector<std::vector<std::string>> All(const std::string& text, const char* pattern) {
  std::vector<std::vector<std::string>> out;
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
    out.emplace_back(it->begin(), it->end());
  return out;
}

class ExportTest : public testing::ProgramFolderTest {
 protected:
  std::string Export(ExportFormat f, const std::string& name) {
    const ExportResult e = WriteExport(data_, f, folder_.File(name), data_.AllNoZeroRows(), {});
    EXPECT_TRUE(e.Ok()) << e.message;
    return folder_.File(name);
  }

  Dataset data_;
};

// -11.7 mg is cut to -11, 990.6 to 990, angles keep one decimal cut, 45 shows
// 45.0; the zero point is left out.
const std::vector<testing::Point> kPoints = {{-3, 1, 254}, {0, 0, 0}, {256, -256, 0}};

TEST_F(ExportTest, TextFileHasFixedColumnsAndTruncatedValues) {
  LoadPoints(data_, kPoints);
  const std::string t = Read(Export(ExportFormat::Text, "a.txt"));
  ASSERT_EQ(t.size(), 151u * 3);
  EXPECT_EQ(t.substr(0, 40), "No      Date        Time        X(mg)   ");
  auto cell = [&](int line, size_t at, size_t width) { return t.substr(151 * line + at, width); };
  EXPECT_EQ(cell(1, 0, 32), " 1      7/5/2013    9:5:7       ");
  EXPECT_EQ(cell(1, 32, 33), "-11        3          990        ");
  EXPECT_EQ(cell(1, 86, 21), "-0.6                 ");
  EXPECT_EQ(cell(2, 43, 10), "-998      ");
  EXPECT_EQ(cell(2, 86, 42), "45.0                 -45.0                ");
  EXPECT_EQ(t.substr(149, 2), "\r\n");

  LoadPoints(data_, {{0, 0, 0}});
  EXPECT_EQ(Read(Export(ExportFormat::Text, "empty.txt")), t.substr(0, 151));
}

TEST_F(ExportTest, WorkbookHoldsNumbersWithFixedFormatsAndTexts) {
  LoadPoints(data_, kPoints);
  const std::string book = Export(ExportFormat::Workbook, "a.xlsx");
  auto unzip = [&](const char* part) { return testing::RunProgram({"/usr/bin/unzip", "-p", book, part}).out; };
  const std::string sheet = unzip("xl/worksheets/sheet1.xml"), styles = unzip("xl/styles.xml");
  EXPECT_NE(unzip("xl/workbook.xml").find("name=\"sheet1\""), std::string::npos);

  std::map<std::string, std::string> formats{{"0", "General"}}, cells;  // "D2" -> "n:-12:0" or "s:text"
  for (auto& m : All(styles, "numFmtId=\"(\\d+)\" formatCode=\"([^\"]*)\"")) formats[m[1]] = m[2];
  std::vector<std::string> style;
  for (auto& m : All(styles.substr(styles.find("<cellXfs")), "<xf numFmtId=\"(\\d+)\"")) style.push_back(formats[m[1]]);
  for (auto& m : All(sheet, "<c r=\"(\\w+)\"(?: s=\"(\\d+)\")?( t=\"inlineStr\")?>(?:<v>([^<]*)</v>|<is><t[^>]*>([^<]*)</t></is>)</c>"))
    cells[m[1]] = m[3].empty() ? "n:" + m[4] + ":" + style.at(std::stoul(m[2])) : "s:" + m[5];
  const std::map<std::string, std::string> expected = {
      {"A1", "s:No"}, {"B1", "s:Date"}, {"C1", "s:Time"}, {"D1", "s:X(mg)"}, {"G1", "s:X Angle(degree)"},
      {"I1", "s:Z Angle(degree)"}, {"A2", "n:1:0"}, {"B2", "s:7/5/2013  "}, {"C2", "s:9:5:7   "},
      {"D2", "n:-11:0"}, {"E2", "n:3:0"}, {"F2", "n:990:0"}, {"G2", "n:-0.6:0.0"}, {"H2", "n:0.2:0.0"},
      {"A3", "n:2:0"}, {"E3", "n:-998:0"}, {"G3", "n:45:0.0"}, {"H3", "n:-45:0.0"}, {"I3", "n:0:0.0"}};
  for (const auto& [ref, value] : expected) EXPECT_EQ(cells[ref], value) << ref;
  EXPECT_EQ(cells.size(), 27u);  // nine columns, the zero point left out

  std::vector<double> widths;  // the writer adds the cell padding
  for (auto& m : All(sheet, "<col [^>]*width=\"([0-9.]+)\"")) widths.push_back(std::stod(m[1]) - 0.7109375);
  EXPECT_EQ(widths, (std::vector<double>{4, 10, 10, 10, 10, 10, 15, 15, 15}));
}

TEST_F(ExportTest, CsvReadsBackToTheSameFloats) {
  LoadPoints(data_, kPoints);
  std::istringstream in(Read(Export(ExportFormat::Csv, "a.csv")));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "No,Date,Time,X(mg),Y(mg),Z(mg),Vector Sum(mg),X Angle(degree),Y Angle(degree),Z Angle(degree)");
  for (int n : {1, 3}) {  // the file's point numbers
    ASSERT_TRUE(std::getline(in, line));
    const RealDataRecord& r = data_.RealData[n];
    const std::string head = std::to_string(n) + ",2013-05-07,09:05:07,";
    ASSERT_EQ(line.rfind(head, 0), 0u) << line;
    std::istringstream fields(line.substr(head.size()));
    for (float v : {r.X, r.Y, r.Z, r.V, r.AX, r.AY, r.AZ}) {
      std::string f;
      std::getline(fields, f, ',');
      EXPECT_EQ(std::strtof(f.c_str(), nullptr), v) << line;
    }
  }
  EXPECT_FALSE(std::getline(in, line));
}

// The staged name beside a long one never makes it too long: every name the
// file system takes can be exported to. A failure names the file and leaves
// nothing under the name.
TEST_F(ExportTest, EveryNameTheFileSystemTakesAndFailuresLeaveNothing) {
  LoadPoints(data_, kPoints);
  ExportFormat f;
  for (const char* ext : {".txt", ".xlsx", ".csv"}) {
    for (size_t length : {244u, 250u, 255u}) {
      const std::string name = std::string(length - std::strlen(ext), 'n') + ext;
      ASSERT_TRUE(ExportFormatOf(name, f));
      EXPECT_TRUE(std::filesystem::exists(Export(f, name))) << name.size();
    }
    std::filesystem::create_directory(folder_.File("taken") + ext);
    for (const std::string& name : {folder_.File("missing/a") + ext, folder_.File("taken") + ext}) {
      ASSERT_TRUE(ExportFormatOf(name, f));
      const ExportResult e = WriteExport(data_, f, name, data_.AllNoZeroRows(), {});
      EXPECT_FALSE(e.Ok()) << name;
      EXPECT_EQ(e.message.rfind(name + ": ", 0), 0u) << e.message;
      EXPECT_TRUE(!std::filesystem::exists(name) || std::filesystem::is_directory(name)) << name;
    }
  }
  for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
    EXPECT_EQ(e.path().string().find(".part"), std::string::npos);  // no staged file left behind
}

}  // namespace
}  // namespace accelog
