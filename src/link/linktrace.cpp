#include "link/linktrace.h"

Q_LOGGING_CATEGORY(lcLink, "matrix.link")
