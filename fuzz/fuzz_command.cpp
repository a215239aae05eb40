// libFuzzer target for the remote command parser: any bytes from the network either give a
// clear refusal or a command whose every field lies in the range its handler takes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "remote/remotecommand.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray message(reinterpret_cast<const char*>(data), qsizetype(size));
  const auto parsed = parseRemoteCommand(message);
  if (const auto* error = std::get_if<CommandError>(&parsed)) {
    check(!error->message.isEmpty());
    return 0;
  }
  check(message.size() <= kMaxCommandBytes);
  const RemoteCommand& c = std::get<RemoteCommand>(parsed);
  using Kind = RemoteCommand::Kind;
  switch (c.kind) {
    case Kind::Goal:
      check(c.team == 1 || c.team == 2);
      check(c.value == 1 || c.value == -1);
      break;
    case Kind::Penalty:
      check((c.team == 1 || c.team == 2) && (c.slot == 1 || c.slot == 2));
      break;
    case Kind::Period:
      check(c.value >= 0 && c.value <= 4);
      break;
    case Kind::Correct:
      check(std::abs(c.value) == 10 || std::abs(c.value) == 60);
      break;
    case Kind::TextSelect:
      check(c.value >= 0);
      break;
    default:
      break;
  }
  return 0;
}
