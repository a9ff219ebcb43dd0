#pragma once

#include "rxdlinkr.h"
