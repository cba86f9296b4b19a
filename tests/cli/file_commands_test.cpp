// accelog-cli info / points / slots / export / spectrum, run as a separate
// program on .kvx files: output shape, exit codes and what is left on disk.
// accelog-cli itself starts without Qt; the drawing commands reach
// accelog-cli-qt next to it or in ../libexec/accelog.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "model/conversion.h"
#include "support/kvx_builder.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace accelog::testing {
namespace {

RunResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), ACCELOG_CLI);
  return RunProgram(std::move(args));
}

std::string ShortestNumber(double v) {
  std::ostringstream out;
  out.precision(17);
  out << v;
  return out.str();
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

// The numbers themselves are checked in-process; here the JSON shape.
TEST_F(FileCommandsTest, InfoAsJson) {
  const RunResult r = Cli({"info", Sample(), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  const QJsonObject o = Json(r.out);
  EXPECT_EQ(o["CountPointNoZero"].toInt(), 29);
  EXPECT_EQ(o["stats"]["X"]["maxPoint"].toInt(), 8);
  EXPECT_EQ(o["texts"]["max"]["X"].toString(), "1560   1/1/2014 0:0:2");
  EXPECT_FALSE(o["Incomplete"].toBool(true));
}

// A download that stopped: the head counts 8000, the file holds 30.
TEST_F(FileCommandsTest, AShortDownloadSaysSo) {
  const std::string file = Sample({.count = 8000});
  EXPECT_TRUE(Json(Cli({"info", file, "--json"}).out)["Incomplete"].toBool(false));
  EXPECT_NE(Cli({"info", file}).out.find("\nIncomplete         30 of 8000 samples: the download was not finished\n"),
            std::string::npos);
  EXPECT_EQ(Cli({"info", Sample({.count = 30})}).out.find("Incomplete"), std::string::npos);
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
  ASSERT_EQ(lines.size(), 400u);
  for (int i = 0; i < 400; ++i) {
    RealDataRecord want{};
    ConvertSample(samples[i].x, samples[i].y, samples[i].z, want);
    std::istringstream fields(lines[i]);
    std::string field;
    for (int c = 0; c < 3; ++c) std::getline(fields, field, ',');
    float got[7] = {};
    for (float& g : got) g = std::getline(fields, field, ',') ? std::strtof(field.c_str(), nullptr) : -1;
    ASSERT_EQ(std::memcmp(got, &want.X, sizeof got), 0) << lines[i];
  }
}

TEST_F(FileCommandsTest, InspectExitCodes) {
  const std::string empty = Write(KvxImage(KvxHead{}, {}), "empty.kvx"), missing = folder_.File("missing.kvx");
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"points", missing}, 1}, {{}, 64}, {{"info"}, 64}, {{"points", Sample(), "--from", "x"}, 64},
  };
  for (const auto& c : cases) EXPECT_EQ(Cli(c.args).code, c.code) << ::testing::PrintToString(c.args);

  // A file that cannot be read is named with the reason (exit 1); a file
  // that is no logger file (exit 2) with the field that shows it.
  RunResult r = Cli({"info", empty});
  EXPECT_EQ(std::tuple(r.code, r.err), std::tuple(2, "Data is error !\n"));
  r = Cli({"info", missing});
  EXPECT_EQ(std::tuple(r.code, r.err), std::tuple(1, "accelog-cli: " + missing + ": the file does not exist\n"));
  r = Cli({"info", folder_.path()});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
  std::string text;
  for (int i = 0; i < 20; ++i) text += "2026-12-07 23:4" + std::to_string(i % 10) + ":00 sim: sample sent\n";
  const std::string log = Write({text.begin(), text.end()}, "sim.log");
  r = Cli({"info", log});
  EXPECT_EQ(std::tuple(r.code, r.out, r.err), std::tuple(2, "", log + ": not a logger file (interval unit 50)\n"));
}

TEST_F(FileCommandsTest, ExportExitCodesAndFiles) {
  const std::string good = Sample(), out = folder_.File("out.csv"), bad = Write({1, 2, 3}, "bad.kvx");
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {{{good, out}, 0},
               {{good, out}, 1},  // exists
               {{good, out, "--overwrite", "--from", "3", "--to", "8"}, 0},
               {{bad, folder_.File("x.txt")}, 2},
               {{good, folder_.File("x.pdf")}, 64},
               {{good, folder_.File("y.txt"), "--from", "abc"}, 64},
               {{good, folder_.File("none/z.xlsx")}, 1},
               {{good, folder_.File("folder.csv"), "--overwrite"}, 1}};  // never removed for the file
  std::filesystem::create_directory(folder_.File("folder.csv"));
  for (const auto& c : cases) {
    std::vector<std::string> args = {"export"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    EXPECT_EQ(Cli(args).code, c.code) << ::testing::PrintToString(c.args);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder_.File("folder.csv")));
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
  const char* const names[kChannels] = {"X", "Y", "Z", "V", "AX", "AY", "AZ"};
  for (auto [from, to] : {std::pair{1, 60}, {15, 45}}) {
    const RunResult r = Cli({"stats", f, "--from", std::to_string(from), "--to", std::to_string(to), "--json"});
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject o = Json(r.out);
    std::vector<std::pair<int, RealDataRecord>> points;
    for (int i = from; i <= to; ++i) {
      if (s[i - 1].x == 0 && s[i - 1].y == 0 && s[i - 1].z == 0) continue;
      RealDataRecord rec;
      ConvertSample(s[i - 1].x, s[i - 1].y, s[i - 1].z, rec);
      points.emplace_back(i, rec);
    }
    EXPECT_EQ(o["count"].toInt(), int(points.size()));
    for (int c = 0; c < kChannels; ++c) {
      const QJsonObject ch = o["channels"].toObject()[names[c]].toObject();
      double lo = 1e300, hi = -1e300, sum = 0, squares = 0;
      int at_lo = 0, at_hi = 0;
      for (const auto& [i, rec] : points) {
        const double v = ChannelValue(rec, c);
        if (v < lo) lo = v, at_lo = i;
        if (v > hi) hi = v, at_hi = i;
        sum += v, squares += v * v;
      }
      const double n = double(points.size()), mean = sum / n, rms = std::sqrt(squares / n);
      double deviations = 0;
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
  // A span past the file has no points; malformed spans are usage errors.
  const RunResult past = Cli({"stats", f, "--from", "61", "--json"});
  EXPECT_EQ(Json(past.out)["count"].toInt(), 0);
  EXPECT_TRUE(Json(past.out)["channels"].toObject().isEmpty());
  for (std::vector<std::string> bad : {std::vector<std::string>{"--from", "0"}, {"--from", "5", "--to", "4"}, {"--to", "x"}}) {
    bad.insert(bad.begin(), {"stats", f});
    EXPECT_EQ(Cli(bad).code, 64) << bad[2] << " " << bad[3];
  }
  EXPECT_EQ(Cli({"stats", Write(std::vector<unsigned char>(100, 'x'), "text.kvx")}).code, 2);  // not a logger file
}

// events as a plain scan of its own would find them: each channel's mean over
// the non-zero points, then the runs at or beyond the threshold.
struct PlainEvent {
  int channel, first, last;
  double peak;
  int peak_point;
  bool operator==(const PlainEvent&) const = default;
};

std::vector<PlainEvent> PlainEvents(const std::vector<testing::Sample>& s, double threshold, bool mean_baseline,
                                    int min_points, std::array<double, 4>* baselines = nullptr) {
  std::vector<std::array<double, 4>> v(s.size());
  std::vector<bool> zero(s.size());
  std::array<double, 4> base{};
  int n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    zero[i] = s[i].x == 0 && s[i].y == 0 && s[i].z == 0;
    RealDataRecord rec;
    ConvertSample(s[i].x, s[i].y, s[i].z, rec);
    for (int c = 0; c < 4; ++c) v[i][c] = ChannelValue(rec, c);
    if (zero[i]) continue;
    ++n;
    for (int c = 0; c < 4; ++c) base[c] += v[i][c];
  }
  for (double& b : base) b = mean_baseline && n > 0 ? b / n : 0;
  if (baselines) *baselines = base;
  std::vector<PlainEvent> events;
  for (int c = 0; c < 4; ++c) {
    for (size_t i = 0; i < s.size();) {
      if (zero[i] || std::fabs(v[i][c] - base[c]) < threshold) { ++i; continue; }
      PlainEvent e{c, int(i) + 1, 0, v[i][c], int(i) + 1};
      for (; i < s.size() && !zero[i] && std::fabs(v[i][c] - base[c]) >= threshold; ++i) {
        if (std::fabs(v[i][c] - base[c]) > std::fabs(e.peak - base[c])) e.peak = v[i][c], e.peak_point = int(i) + 1;
        e.last = int(i) + 1;
      }
      if (e.last - e.first + 1 >= min_points) events.push_back(e);
    }
  }
  std::stable_sort(events.begin(), events.end(), [](auto& a, auto& b) { return std::pair(a.first, a.channel) < std::pair(b.first, b.channel); });
  return events;
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
  struct Case { std::vector<std::string> options; double threshold; bool mean; int min_points; int channel_mask; };
  for (const Case& c : std::vector<Case>{{{}, 300, true, 1, 15},
                                         {{"--baseline", "zero"}, 190, false, 1, 15},
                                         {{"--min-points", "4"}, 300, true, 4, 15},
                                         {{"--channels", "X,V"}, 250, true, 1, 9},
                                         {{"--channels", "Z"}, 0.001, true, 1, 4}}) {
    std::vector<std::string> args = {"events", f, "--threshold", ShortestNumber(c.threshold), "--json"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const RunResult r = Cli(args);
    ASSERT_EQ(r.code, 0) << r.err;
    const QJsonObject o = Json(r.out);
    std::array<double, 4> base;
    std::vector<PlainEvent> expected = PlainEvents(s, c.threshold, c.mean, c.min_points, &base);
    std::erase_if(expected, [&](const PlainEvent& e) { return !(c.channel_mask >> e.channel & 1); });
    SCOPED_TRACE(args[3] + (c.options.empty() ? "" : " " + c.options[0]));
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(EventsOf(o), expected);
    for (int ch = 0; ch < 4; ++ch)
      if (c.channel_mask >> ch & 1) {
        EXPECT_EQ(o["baseline"].toObject()[QString("XYZV")[ch]].toDouble(), base[ch]);
      }
  }
  // Point 42 starts 2.05 s after 10:00:00 and a run of 4 lasts 3 intervals.
  const QJsonArray x = Json(Cli({"events", f, "--threshold", "300", "--channels", "X", "--json"}).out)["events"].toArray();
  const auto at42 = std::find_if(x.begin(), x.end(), [](const auto& e) { return e.toObject()["first"].toInt() == 42; });
  ASSERT_NE(at42, x.end());
  EXPECT_EQ(at42->toObject()["start"].toString(), "2026-12-06T10:00:02.050");
  EXPECT_EQ(at42->toObject()["duration_s"].toDouble(), 3 * 0.05);
  for (std::vector<std::string> bad : {std::vector<std::string>{"--threshold", "0"}, {"--threshold", "x"}, {},
                                       {"--threshold", "5", "--channels", "X,W"}, {"--threshold", "5", "--baseline", "median"},
                                       {"--threshold", "5", "--min-points", "0"}}) {
    bad.insert(bad.begin(), {"events", f});
    EXPECT_EQ(Cli(bad).code, 64) << (bad.size() > 3 ? bad[3] : "");
  }
  EXPECT_EQ(Cli({"events", Write(std::vector<unsigned char>(100, 'x'), "text.kvx"), "--threshold", "5"}).code, 2);
}

// The largest file a recording may be: both commands against the plain scans.
TEST_F(FileCommandsTest, StatsAndEventsOnTheLargestFile) {
  std::vector<testing::Sample> s = Wave(327600);
  for (size_t i = 0; i < s.size(); i += 997) s[i] = {0, 0, 0};
  for (size_t i = 500; i < s.size(); i += 7919) s[i].x = s[i + 1].x = 600;
  const std::string f = Write(KvxImage({.count = 327600}, s));
  const RunResult events = Cli({"events", f, "--threshold", "1500", "--json"});
  ASSERT_EQ(events.code, 0) << events.err;
  const std::vector<PlainEvent> expected = PlainEvents(s, 1500, true, 1);
  EXPECT_GT(expected.size(), 40u);
  EXPECT_EQ(EventsOf(Json(events.out)), expected);
  const QJsonObject x = Json(Cli({"stats", f, "--json"}).out)["channels"].toObject()["X"].toObject();
  RealDataRecord top;
  ConvertSample(600, s[500].y, s[500].z, top);
  EXPECT_EQ(std::tuple(x["max"].toDouble(), x["max_point"].toInt()), std::tuple(double(top.X), 501));
  std::array<double, 4> mean;
  PlainEvents(s, 1e9, true, 1, &mean);
  EXPECT_EQ(x["mean"].toDouble(), mean[0]);
}

TEST_F(FileCommandsTest, SpectrumJsonShapeAndExitCodes) {
  auto spectrum = [&](std::vector<std::string> args, int points) {
    Write(KvxImage({}, Wave(points)));
    for (std::string& a : args) a = a == "FILE" ? folder_.File("f.kvx") : a == "PNG" ? folder_.File("s.png") : a;
    return Cli(args);
  };
  const RunResult r = spectrum({"spectrum", "FILE", "--json"}, 400);
  ASSERT_EQ(r.code, 0) << r.err;
  const QJsonObject o = Json(r.out);
  EXPECT_EQ(o["CountPoint"].toInt(), 128);
  EXPECT_EQ(o["labels"][10].toString(), " " + QString::number(5000 * o["F"].toInt()));
  for (const char* axis : {"X", "Y", "Z"}) {
    EXPECT_TRUE(o["magnitudes"][axis].toArray().size() == 128 && o["plot"][axis].toArray().size() == 128) << axis;
  }
  const RunResult few = spectrum({"spectrum", "FILE"}, 255);
  EXPECT_EQ(std::tuple(few.code, few.out + few.err), std::tuple(2, "Data is error !  <256\n"));
  EXPECT_EQ(spectrum({"spectrum", "FILE", "--window", "kaiser"}, 400).code, 64);
  EXPECT_EQ(spectrum({"render", "FILE", "PNG", "--spectrum", "--window", "hann"}, 400).code, 0);
  EXPECT_EQ(spectrum({"render", "FILE", "PNG", "--spectrum"}, 30001).code, 2);
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
  EXPECT_EQ(peaks(Cli({"spectrum", f, "--json", "--remove-mean"})), std::tuple(17.0, 33.0, 49.0));
  const RunResult hz = Cli({"spectrum", f, "--json", "--remove-mean", "--hz"});
  EXPECT_EQ(peaks(hz), std::tuple(1.25, 2.5, 3.75));
  const QJsonArray lines = Json(hz.out)["frequencies"].toArray();
  ASSERT_EQ(lines.size(), 128);
  for (int k = 0; k < 128; ++k) ASSERT_EQ(lines[k].toDouble(), k / 12.8) << k;
  EXPECT_FALSE(Json(Cli({"spectrum", f, "--json", "--remove-mean"}).out).contains("frequencies"));

  const std::vector<std::string> table = Lines(Cli({"spectrum", f, "--remove-mean", "--hz"}).out);
  ASSERT_EQ(table.size(), 133u);
  EXPECT_EQ(table[33].substr(0, 15), "  32     2.5 Hz") << "line 33";
  EXPECT_EQ(std::vector(table.end() - 4, table.end() - 1), (std::vector<std::string>{"X Max HZ 1.25", "Y Max HZ 2.5", "Z Max HZ 3.75"}));

  // The render's read-out on column 30 (line 19), and flags that need --spectrum.
  const std::string png = folder_.File("s.png");
  EXPECT_EQ(Lines(Cli({"render", f, png, "--spectrum", "--cursor", "30"}).out).back(), "Frequency = 19  HZ");
  EXPECT_EQ(Lines(Cli({"render", f, png, "--spectrum", "--remove-mean", "--hz", "--cursor", "30"}).out).back(), "Frequency = 1.406  HZ");
  EXPECT_EQ(Cli({"render", f, png, "--hz"}).code, 64);
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
