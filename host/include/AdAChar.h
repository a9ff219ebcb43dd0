#pragma once

typedef wchar_t ACHAR;
#ifndef ACRX_T
#define ACRX_T(x) L##x
#endif
#ifndef _ACRX_T
#define _ACRX_T(x) L##x
#endif
