// Keys of the system registry's entries.
#pragma once

#include "AdAChar.h"

#define ACRX_DYNAMIC_LINKER ACRX_T("DynamicLinker")
#define ACRX_CLASS_DICTIONARY ACRX_T("ClassDictionary")
