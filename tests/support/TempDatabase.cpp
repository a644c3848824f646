#include "support/TempDatabase.h"
