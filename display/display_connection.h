#pragma once

namespace quolvet {

// A Wayland client's requests wait in its connection until its event loop next sleeps, so a
// picture drawn just before the window's thread pauses would reach the compositor only after
// the pause. This sends them now. Nothing to do on other window systems, which send at once.
void flushDisplayConnection();

}  // namespace quolvet
