#pragma once

#include "model/Result.h"
