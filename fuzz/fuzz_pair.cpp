// libFuzzer target for a pairing request as it comes from the network: the request head the
// connection gate reads first, then the checks of POST /api/pair. The input is the Host, Origin
// and User-Agent values and the body, one per line (the body is the rest). Whatever the bytes,
// the answer is a refusal with a status and a reason, or a PIN with a short printable name, and
// only for a host that is an address, localhost or one of our own names.
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "remote/connectiongate.h"
#include "remote/pairrequest.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));

  const RequestHead head = checkRequestHead(input);
  if (head.verdict == RequestHead::Verdict::Refuse)
    check((head.status == 400 || head.status == 426) && !head.reason.isEmpty() && head.closeAfter);

  QList<QByteArray> fields = input.split('\n');
  while (fields.size() < 4) fields.append(QByteArray());
  const QByteArray body = input.mid(fields[0].size() + fields[1].size() + fields[2].size() + 3);
  const QStringList ownNames{"anzeige", "anzeige.local"};
  const auto checked =
      checkPairRequest(body, "application/json", fields[0], fields[1], fields[2], ownNames);
  if (const auto* refusal = std::get_if<PairRefusal>(&checked)) {
    check(refusal->status >= 400 && refusal->status < 500 && !refusal->message.isEmpty());
    return 0;
  }
  check(isOwnHost(fields[0], ownNames));
  const PairRequest& request = std::get<PairRequest>(checked);
  check(!request.name.isEmpty() && request.name.size() <= 40);
  for (const QChar c : request.name) check(c.isPrint());
  return 0;
}
