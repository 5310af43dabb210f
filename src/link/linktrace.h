#pragma once

#include <QLoggingCategory>

// The link's developer traces: what went to and came from the wire, and why a
// link closed. Scripts and servers switch the category off; the window keeps it.
Q_DECLARE_LOGGING_CATEGORY(lcLink)
