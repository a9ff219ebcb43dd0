#pragma once

#include "accmd.h"
#include "acedads.h"
#include "acutads.h"
