#pragma once

#include "model/Result.h"

// Success, or a failure with a message the user can read (UTF-8).
using Status = Result<void>;
