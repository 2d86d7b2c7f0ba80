#pragma once
#include <QString>

namespace bridge {

// One line on stderr, "winamp-bridge: " first: what the bridge is connected to, and why
// it cannot go on.
void Say(const QString& text);

}  // namespace bridge
