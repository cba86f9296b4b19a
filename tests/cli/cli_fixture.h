#pragma once
// accelog-sim and accelog-cli as separate processes over a real socket: a
// child process with its output in files, and the fixture that starts them.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"

extern char** environ;

namespace accelog::testing {

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

class Process {
 public:
  Process(std::vector<std::string> args, const std::string& out, const std::string& err) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Process() {
    if (pid_ > 0 && !done_) {
      ::kill(pid_, SIGTERM);
      Wait(5000);
    }
  }
  // The exit code, or -1 when it had to be killed after limit_ms;
  // `meanwhile` runs every 10 ms while it waits.
  int Wait(int limit_ms, const std::function<void()>& meanwhile = {}) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    int status = 0;
    while (pid_ > 0) {
      const pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        done_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      if (std::chrono::steady_clock::now() > end) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        done_ = true;
        return -1;
      }
      if (meanwhile) meanwhile();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }
  void Signal(int sig) const {
    if (pid_ > 0 && !done_) ::kill(pid_, sig);
  }

 private:
  pid_t pid_ = -1;
  bool done_ = false;
};

class CliDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_DATA_HOME", folder_.File("data").c_str(), 1); }

  // Starts accelog-sim with `options` and waits for its socket.
  std::unique_ptr<Process> StartSim(std::vector<std::string> options) {
    std::vector<std::string> args = {ACCELOG_SIM, "--socket", Socket()};
    args.insert(args.end(), options.begin(), options.end());
    auto p = std::make_unique<Process>(args, folder_.File("sim.out"), folder_.File("sim.err"));
    for (int i = 0; i < 300 && !std::filesystem::exists(Socket()); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(Socket()));
    return p;
  }
  std::unique_ptr<Process> StartCli(std::vector<std::string> args) {
    args.insert(args.begin(), ACCELOG_CLI);
    return std::make_unique<Process>(args, folder_.File("cli.out"), folder_.File("cli.err"));
  }
  int Cli(std::vector<std::string> args, int limit_ms = 60000) { return StartCli(std::move(args))->Wait(limit_ms); }
  std::string Socket() const { return folder_.File("logger.sock"); }
  std::string CliErr() const { return ReadText(folder_.File("cli.err")); }
  std::string CliOut() const { return ReadText(folder_.File("cli.out")); }

  TempFolder folder_;
};

}  // namespace accelog::testing
