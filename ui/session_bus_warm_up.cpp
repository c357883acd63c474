#include "ui/session_bus_warm_up.h"

#include <QDBusConnection>

namespace vb {

// The connection is made once per process and shared: the bridge's own
// request later finds it made, or waits for this one to end.
SessionBusWarmUp::SessionBusWarmUp() : thread_([] { QDBusConnection::sessionBus(); }) {}

SessionBusWarmUp::~SessionBusWarmUp() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace vb
