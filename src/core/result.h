#pragma once
// What an operation that may fail hands back: nothing when it worked, else a
// message naming the file and the reason ("<file>: <why>").
#include <string>
#include <utility>

namespace accelog {

struct Result {
  std::string message;

  bool Ok() const { return message.empty(); }
  static Result Failed(std::string why) { return {std::move(why)}; }
};

}  // namespace accelog
