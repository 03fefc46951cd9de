#pragma once

#include <QString>

// The user's login name from the system's user database, never from the environment, which
// anyone can set: what the history names as the one who changed a value. Empty if unknown.
QString loginName();
