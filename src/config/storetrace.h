#pragma once

#include <QLoggingCategory>

// The stores' developer traces: which file was created or loaded, and where.
// Scripts and servers switch the category off; the window keeps it.
Q_DECLARE_LOGGING_CATEGORY(lcStore)
