// The meeting point the connect window offers, remembered in its own file
// beside config.txt (as the language is), so that config.txt keeps its
// three lines. No meeting point is built in: a player types the address a
// friend or a community gave them once, and it is there the next time.
#pragma once

#include <QString>
#include <optional>

#include "net/address.h"

namespace zelkar::qt {

QString meetFilePath(const QString& configSavePath);

// "HOST" or "HOST:PORT" as typed, blanks around it dropped; the port is the
// meeting point's own (41831) when none is given. Nullopt when it is no
// address.
std::optional<net::Endpoint> parseMeetPoint(const QString& typed);

// The remembered address as typed; empty when the file is missing,
// unreadable or holds no address.
QString readMeetSetting(const QString& path);
// Remembers `typed` (empty forgets it); the reason of a failure, or empty.
QString saveMeetSetting(const QString& path, const QString& typed);

}  // namespace zelkar::qt
