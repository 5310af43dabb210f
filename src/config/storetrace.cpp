#include "config/storetrace.h"

Q_LOGGING_CATEGORY(lcStore, "matrix.store")
