// accelog-cli's file commands (info, points, slots, export, stats, events,
// spectrum) run as a separate program on .kvx files: output shape, exit codes
// and what is left on disk; and the exit codes of every command. accelog-cli
// itself starts without Qt; the drawing commands reach accelog-cli-qt next
// to it or in ../libexec/accelog.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "support/plain_events.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

RunResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), ACCELOG_CLI);
  return RunProgram(std::move(args));
}

QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", folder_.File("data").c_str(), 1); }
  std::string Write(const std::vector<unsigned char>& bytes, const std::string& name = "f.kvx") {
    WriteBytes(folder_.File(name), bytes);
    return folder_.File(name);
  }
  // 30 points from 31/12/2013 23:59:59, the fifth all zero.
  std::string Sample(KvxHead h = {.count = 30}) {
    h.year = 13, h.month = 12, h.day = 31, h.hour = 23, h.minute = 59, h.second = 59;
    auto s = Wave(30);
    s[4] = {0, 0, 0};
    s[7] = {400, 0, 0};
    return Write(KvxImage(h, s));
  }
  TempFolder folder_;
};

// The numbers themselves are checked in-process; here the JSON shape, and a
// download that stopped: the head counts 8000, the file holds 30.
TEST_F(FileCommandsTest, InfoAsJsonAndAShortDownloadSaysSo) {
  const RunResult r = Cli({"info", Sample(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const QJsonObject o = Json(r.out);
  EXPECT_EQ(o["CountPointNoZero"].toInt(), 29);
  EXPECT_EQ(o["stats"]["X"]["maxPoint"].toInt(), 8);
  EXPECT_EQ(o["texts"]["max"]["X"].toString(), "1560   1/1/2014 0:0:2");
  EXPECT_FALSE(o["Incomplete"].toBool(true));
  EXPECT_EQ(Cli({"info", Sample()}).out.find("Incomplete"), std::string::npos);
  const std::string file = Sample({.count = 8000});
  EXPECT_TRUE(Json(Cli({"info", file, "--json"}).out)["Incomplete"].toBool(false));
  EXPECT_NE(Cli({"info", file}).out.find("\nIncomplete         30 of 8000 samples: the download was not finished\n"),
            std::string::npos);
}

TEST_F(FileCommandsTest, PointsAndSlotsLines) {
  const RunResult r = Cli({"points", Sample(), "--from", "2", "--to", "5"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "5,1/1/2014,0:0:1,0,0,0,0,0,0,0");
  EXPECT_EQ(Lines(Cli({"points", Sample(), "--from", "25", "--to", "1000"}).out).size(), 6u);
  const auto columns = Lines(Cli({"slots", Sample(), "--from", "1", "--to", "10"}).out);
  ASSERT_EQ(columns.size(), 200u);
  EXPECT_EQ(columns[199], "200,1,10");
}

// Every value reads back to the very float the program holds.
TEST_F(FileCommandsTest, PointValuesReadBackExactly) {
  std::vector<testing::Sample> samples;
  for (int i = 0; i < 400; ++i) samples.push_back({int16_t(i * 163 - 32000), int16_t(i * 7 - 1400), int16_t(256 + i % 13)});
  const auto lines = Lines(Cli({"points", Write(KvxImage(KvxHead{}, samples))}).out);
  const PlainPoints want = PointsOf(samples);
  ASSERT_EQ(lines.size(), 400u);
  for (int i = 0; i < 400; ++i) {
    std::istringstream fields(lines[i]);
    std::string field;
    for (int c = 0; c < 3; ++c) std::getline(fields, field, ',');
    float got[7] = {};
    for (float& g : got) g = std::getline(fields, field, ',') ? std::strtof(field.c_str(), nullptr) : -1;
    ASSERT_TRUE(want[i] && std::memcmp(got, &want[i]->X, sizeof got) == 0) << lines[i];
  }
}

// Exit codes: 64 for a malformed command line, 1 for a file that cannot be
// read or written, 2 for one that is no logger file or holds too little. In
// the words F is a good file, T a text file, M a missing one; @name is in
// the test folder.
TEST_F(FileCommandsTest, ExitCodesOfEveryCommand) {
  const std::string good = Sample(), text = Write(std::vector<unsigned char>(100, 'x'), "text.kvx");
  Write({1, 2, 3}, "bad.kvx");
  const std::pair<int, std::vector<const char*>> cases[] = {
      {64, {"", "info", "points F --from x", "export F @x.pdf", "export F @y.txt --from abc", "stats F --from 0",
            "stats F --from 5 --to 4", "stats F --to x", "events F --threshold 0", "events F --threshold x", "events F",
            "events F --threshold 5 --channels X,W", "events F --threshold 5 --baseline median",
            "events F --threshold 5 --min-points 0", "spectrum F --window kaiser", "render F @c.png --hz",
            "render F @c.png --spectrum --all-curves", "render F @c.png --start 20 --end 10", "render F",
            "render F @c.png --scale 2abc", "render F @c.png --start 5x", "print F", "print F @o.pdf --paper B5",
            "print F @o.pdf --margins 1,2,3", "print F @o.pdf --scale 0", "print F @o.pdf --scale 1e-30",
            "print F @o.pdf --scale 0.5x", "print F @o.pdf --start 9 --end 1", "report F", "report F @r.pdf --landscape",
            "report F @r.pdf --threshold 0", "report F @r.pdf --threshold -5", "report F @r.pdf --threshold 5mg",
            "report F @r.pdf --threshold nan", "report F @r.pdf --paper B5", "--device bogus scan", "download",
            "download @a.kvx @b.kvx", "scan --fast", "set-params --unit sec", "live @a.kvx --limit 0",
            "live @a.kvx --limit -5", "live @a.kvx --limit 32768", "live @a.kvx --interval abc"}},
      {1, {"points M", "export F @none/z.xlsx", "render M @c.png", "print M @o.pdf", "print F @no/such/folder/o.pdf",
           "report M @r.pdf"}},
      {2, {"export @bad.kvx @x.txt", "stats T", "events T --threshold 5", "spectrum F", "report T @r.pdf",
           "live @a.kvx --interval 0", "live @a.kvx --interval 100"}},
  };
  for (const auto& [code, lines] : cases) {
    for (const char* line : lines) {
      std::vector<std::string> args;
      std::istringstream words(line);
      for (std::string w; words >> w;) {
        args.push_back(w == "F" ? good : w == "T" ? text : w == "M" ? folder_.File("missing.kvx")
                       : w[0] == '@'  ? folder_.File(w.substr(1)) : w);
      }
      EXPECT_EQ(Cli(args).code, code) << line;
    }
  }
  for (const char* out : {"x.txt", "x.pdf", "c.png", "o.pdf", "r.pdf", "a.kvx"})
    EXPECT_FALSE(std::filesystem::exists(folder_.File(out))) << out;
}

// A file that cannot be read is named with the reason; a file that is no
// logger file with the field that shows it.
TEST_F(FileCommandsTest, ReadFailuresSayWhy) {
  std::string text;
  for (int i = 0; i < 20; ++i) text += "2026-12-07 23:4" + std::to_string(i % 10) + ":00 sim: sample sent\n";
  const std::string log = Write({text.begin(), text.end()}, "sim.log"), missing = folder_.File("missing.kvx"),
                    empty = Write(KvxImage(KvxHead{}, {}), "empty.kvx");
  for (const auto& [file, code, err] : {std::tuple{empty, 2, std::string("Data is error !\n")},
                                        {missing, 1, "accelog-cli: " + missing + ": the file does not exist\n"},
                                        {folder_.path(), 1, "accelog-cli: " + folder_.path() + ": Is a directory\n"},
                                        {log, 2, log + ": not a logger file (interval unit 50)\n"}}) {
    const RunResult r = Cli({"info", file});
    EXPECT_EQ(std::tuple(r.code, r.out, r.err), std::tuple(code, std::string(), err));
  }
}

// An existing file is kept without --overwrite, and a folder even with it.
TEST_F(FileCommandsTest, ExportOverwritesOnlyWhenAskedAndNeverAFolder) {
  const std::string good = Sample(), out = folder_.File("out.csv"), folder = folder_.File("folder.csv");
  std::filesystem::create_directory(folder);
  for (auto [args, code] : {std::pair{std::vector<std::string>{good, out}, 0}, {{good, out}, 1},
                            {{good, out, "--overwrite", "--from", "3", "--to", "8"}, 0}, {{good, folder, "--overwrite"}, 1}}) {
    args.insert(args.begin(), "export");
    EXPECT_EQ(Cli(args).code, code) << ::testing::PrintToString(args);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  std::vector<std::string> numbers;
  const auto csv = ReadBytes(out);
  for (const std::string& line : Lines({csv.begin(), csv.end()})) numbers.push_back(line.substr(0, line.find(',')));
  EXPECT_EQ(numbers, (std::vector<std::string>{"No", "3", "4", "6", "7", "8"}));
}

// stats against a plain two-pass computation of its own: zero points left
// out (the first and last among them), equal extremes, a constant channel.
TEST_F(FileCommandsTest, StatsMatchAPlainComputation) {
  std::vector<testing::Sample> s = Wave(60);
  for (auto& p : s) p.y = 50;  // constant
  s[0] = s[59] = s[20] = {0, 0, 0};
  s[30].x = s[40].x = 900;  // the same maximum twice: the first counts
  const std::string f = Write(KvxImage({.count = 60}, s));
  const PlainPoints all = PointsOf(s);
  const char* const names[kChannels] = {"X", "Y", "Z", "V", "AX", "AY", "AZ"};
  for (auto [from, to] : {std::pair{1, 60}, {15, 45}}) {
    const RunResult r = Cli({"stats", f, "--from", std::to_string(from), "--to", std::to_string(to), "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject o = Json(r.out);
    std::vector<std::pair<int, RealDataRecord>> points;
    for (int i = from; i <= to; ++i)
      if (all[i - 1]) points.emplace_back(i, *all[i - 1]);
    EXPECT_EQ(o["count"].toInt(), int(points.size()));
    for (int c = 0; c < kChannels; ++c) {
      const QJsonObject ch = o["channels"].toObject()[names[c]].toObject();
      double lo = 1e300, hi = -1e300, sum = 0, squares = 0, deviations = 0;
      int at_lo = 0, at_hi = 0;
      for (const auto& [i, rec] : points) {
        const double v = ChannelValue(rec, c);
        if (v < lo) lo = v, at_lo = i;
        if (v > hi) hi = v, at_hi = i;
        sum += v, squares += v * v;
      }
      const double n = double(points.size()), mean = sum / n, rms = std::sqrt(squares / n);
      for (const auto& [i, rec] : points) deviations += (ChannelValue(rec, c) - mean) * (ChannelValue(rec, c) - mean);
      SCOPED_TRACE(std::string(names[c]) + " " + std::to_string(from) + ".." + std::to_string(to));
      EXPECT_EQ(std::tuple(ch["min"].toDouble(), ch["min_point"].toInt(), ch["max"].toDouble(), ch["max_point"].toInt()),
                std::tuple(lo, at_lo, hi, at_hi));
      EXPECT_EQ(std::tuple(ch["p2p"].toDouble(), ch["mean"].toDouble(), ch["rms"].toDouble()), std::tuple(hi - lo, mean, rms));
      EXPECT_NEAR(ch["std"].toDouble(), std::sqrt(deviations / n), 1e-9 * rms);
      EXPECT_EQ(ch["crest"].toDouble(), rms == 0 ? 0 : std::max(std::fabs(lo), std::fabs(hi)) / rms);
    }
    EXPECT_EQ(o["channels"].toObject()["Y"].toObject()["std"].toDouble(), 0.0);
  }
  // A span past the file has no points.
  const QJsonObject past = Json(Cli({"stats", f, "--from", "61", "--json"}).out);
  EXPECT_TRUE(past["count"].toInt(-1) == 0 && past["channels"].toObject().isEmpty());
}

std::vector<PlainEvent> EventsOf(const QJsonObject& o) {
  std::vector<PlainEvent> events;
  for (const auto& item : o["events"].toArray()) {
    const QJsonObject e = item.toObject();
    const int c = QString("XYZV").indexOf(e["channel"].toString());
    events.push_back({c, e["first"].toInt(), e["last"].toInt(), e["peak"].toDouble(), e["peak_point"].toInt()});
    EXPECT_EQ(e["points"].toInt(), e["last"].toInt() - e["first"].toInt() + 1);
  }
  return events;
}

// Gaps, a run on the first and on the last point, equal peaks, a constant
// channel, every option; then the times and the refusals.
TEST_F(FileCommandsTest, EventsMatchAPlainScan) {
  std::vector<testing::Sample> s = Wave(90);
  for (auto& p : s) p.y = 50;  // constant: never an event against its mean
  s[0].x = s[89].x = 400;
  s[30] = s[31] = s[60] = {0, 0, 0};
  for (int i : {41, 42, 43, 44}) s[i].x = 300;  // one run, four equal peaks
  s[29].x = s[32].x = 350;  // runs cut by the gap
  const std::string f = Write(KvxImage({.interval = 50, .count = 90, .year = 26, .month = 12, .day = 6, .hour = 10,
                                        .minute = 0, .second = 0}, s));
  const PlainPoints points = PointsOf(s);
  struct Case { std::vector<std::string> options; const char* threshold; bool mean; int min_points, channel_mask; };
  for (const Case& c : std::vector<Case>{{{}, "300", true, 1, 15},
                                         {{"--baseline", "zero"}, "190", false, 1, 15},
                                         {{"--min-points", "4"}, "300", true, 4, 15},
                                         {{"--channels", "X,V"}, "250", true, 1, 9},
                                         {{"--channels", "Z"}, "0.001", true, 1, 4}}) {
    std::vector<std::string> args = {"events", f, "--threshold", c.threshold, "--json"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult r = Cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject o = Json(r.out);
    const std::array<double, 4> base = c.mean ? PlainMeans(points) : std::array<double, 4>{};
    std::vector<PlainEvent> expected = PlainEvents(points, std::stod(c.threshold), base, c.min_points);
    std::erase_if(expected, [&](const PlainEvent& e) { return !(c.channel_mask >> e.channel & 1); });
    SCOPED_TRACE(args[3] + (c.options.empty() ? "" : " " + c.options[0]));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(EventsOf(o), expected);
    for (int ch = 0; ch < 4; ++ch) {
      if (c.channel_mask >> ch & 1) {
        EXPECT_EQ(o["baseline"].toObject()[QString("XYZV")[ch]].toDouble(), base[ch]) << ch;
      }
    }
  }
  // Point 42 starts 2.05 s after 10:00:00 and a run of 4 lasts 3 intervals.
  const QJsonArray x = Json(Cli({"events", f, "--threshold", "300", "--channels", "X", "--json"}).out)["events"].toArray();
  const auto at42 = std::find_if(x.begin(), x.end(), [](const auto& e) { return e.toObject()["first"].toInt() == 42; });
  ASSERT_NE(at42, x.end());
  EXPECT_EQ(at42->toObject()["start"].toString(), "2026-12-06T10:00:02.050");
  EXPECT_EQ(at42->toObject()["duration_s"].toDouble(), 3 * 0.05);
}

// The largest file a recording may be: both commands against the plain scans.
TEST_F(FileCommandsTest, StatsAndEventsOnTheLargestFile) {
  std::vector<testing::Sample> s = Wave(327600);
  for (size_t i = 0; i < s.size(); i += 997) s[i] = {0, 0, 0};
  for (size_t i = 500; i < s.size(); i += 7919) s[i].x = s[i + 1].x = 600;
  const std::string f = Write(KvxImage({.count = 327600}, s));
  const RunResult events = Cli({"events", f, "--threshold", "1500", "--json"});
  ASSERT_EQ(events.code, 0) << events.err;
  const PlainPoints points = PointsOf(s);
  const std::vector<PlainEvent> expected = PlainEvents(points, 1500, PlainMeans(points));
  EXPECT_GT(expected.size(), 40u);
  EXPECT_EQ(EventsOf(Json(events.out)), expected);
  const QJsonObject x = Json(Cli({"stats", f, "--json"}).out)["channels"].toObject()["X"].toObject();
  EXPECT_EQ(std::tuple(x["max"].toDouble(), x["max_point"].toInt(), x["mean"].toDouble()),
            std::tuple(double(points[500]->X), 501, PlainMeans(points)[0]));
}

TEST_F(FileCommandsTest, SpectrumJsonShapeAndFileLimits) {
  auto file = [&](int points) { return Write(KvxImage({}, Wave(points))); };
  const RunResult r = Cli({"spectrum", file(400), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const QJsonObject o = Json(r.out);
  EXPECT_EQ(o["CountPoint"].toInt(), 128);
  EXPECT_EQ(o["labels"][10].toString(), " " + QString::number(5000 * o["F"].toInt()));
  for (const char* axis : {"X", "Y", "Z"}) {
    EXPECT_TRUE(o["magnitudes"][axis].toArray().size() == 128 && o["plot"][axis].toArray().size() == 128) << axis;
  }
  const std::string png = folder_.File("s.png");
  EXPECT_EQ(Cli({"render", file(400), png, "--spectrum", "--window", "hann"}).code, 0);
  const RunResult few = Cli({"spectrum", file(255)});
  EXPECT_EQ(std::tuple(few.code, few.out + few.err), std::tuple(2, "Data is error !  <256\n"));
  EXPECT_EQ(Cli({"render", file(30001), png, "--spectrum"}).code, 2);
}

// Tones on lines 17, 33 and 49 over offsets, 50 ms apart: --remove-mean finds
// them, --hz names them (1/12.8 s per line) in the table, the JSON and the render.
TEST_F(FileCommandsTest, SpectrumOptionsOnTheCommandLine) {
  auto tones = [&](uint16_t interval) { return Write(KvxImage({.interval = interval, .count = 256}, TonesOverOffsets())); };
  const std::string f = tones(50);
  auto peaks = [](const RunResult& r) {
    const QJsonObject p = Json(r.out)["peaks"].toObject();
    return std::tuple(p["X"].toDouble(), p["Y"].toDouble(), p["Z"].toDouble());
  };
  EXPECT_EQ(peaks(Cli({"spectrum", f, "--json"})), std::tuple(1.0, 1.0, 1.0));
  const RunResult mean = Cli({"spectrum", f, "--json", "--remove-mean"});
  EXPECT_EQ(peaks(mean), std::tuple(17.0, 33.0, 49.0));
  EXPECT_FALSE(Json(mean.out).contains("frequencies"));
  const RunResult hz = Cli({"spectrum", f, "--json", "--remove-mean", "--hz"});
  EXPECT_EQ(peaks(hz), std::tuple(1.25, 2.5, 3.75));
  const QJsonArray lines = Json(hz.out)["frequencies"].toArray();
  ASSERT_EQ(lines.size(), 128);
  for (int k = 0; k < 128; ++k) ASSERT_EQ(lines[k].toDouble(), k / 12.8) << k;

  const std::vector<std::string> table = Lines(Cli({"spectrum", f, "--remove-mean", "--hz"}).out);
  ASSERT_EQ(table.size(), 133u);
  EXPECT_EQ(table[33].substr(0, 15), "  32     2.5 Hz") << "line 33";
  EXPECT_EQ(std::vector(table.end() - 4, table.end() - 1), (std::vector<std::string>{"X Max HZ 1.25", "Y Max HZ 2.5", "Z Max HZ 3.75"}));

  // The render's read-out on column 30 (line 19).
  const std::string png = folder_.File("s.png");
  EXPECT_EQ(Lines(Cli({"render", f, png, "--spectrum", "--cursor", "30"}).out).back(), "Frequency = 19  HZ");
  EXPECT_EQ(Lines(Cli({"render", f, png, "--spectrum", "--remove-mean", "--hz", "--cursor", "30"}).out).back(), "Frequency = 1.406  HZ");
  // A head without an interval has no frequencies.
  EXPECT_EQ(Cli({"spectrum", tones(0), "--hz"}).code, 2);
}

TEST(QtFree, OnlyTheDrawingHelperLinksQt) {
  for (const auto& [binary, qt] : {std::pair{ACCELOG_CLI, false}, std::pair{ACCELOG_CLI_QT, true}}) {
    const std::string needed = RunProgram({"/usr/bin/readelf", "-d", binary}).out;
    ASSERT_NE(needed.find("NEEDED"), std::string::npos) << needed;
    EXPECT_EQ(needed.find("libQt6") != std::string::npos, qt) << binary;
  }
}

TEST(QtFree, RenderFindsTheHelperWhereInstalled) {
  namespace fs = std::filesystem;
  TempFolder folder;
  const fs::path root = folder.path();
  fs::create_directories(root / "bin");
  fs::copy_file(ACCELOG_CLI, root / "bin/accelog-cli");
  const std::string cli = (root / "bin/accelog-cli").string();
  RunResult r = RunProgram({cli, "render"});
  EXPECT_NE(r.err.find("accelog-cli-qt not found"), std::string::npos) << r.err;
  EXPECT_EQ(r.code, 1);
  fs::create_directories(root / "libexec/accelog");
  fs::copy_file(ACCELOG_CLI_QT, root / "libexec/accelog/accelog-cli-qt");
  // The helper's own usage error: it ran, with the same words.
  r = RunProgram({cli, "render", "one-word"});
  EXPECT_NE(r.err.find("usage: accelog-cli render"), std::string::npos) << r.err;
  EXPECT_EQ(r.code, 64);
}

}  // namespace
}  // namespace accelog::testing
