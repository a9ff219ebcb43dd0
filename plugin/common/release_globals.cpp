#include "common/release_globals.h"

std::wstring version;
std::wstring full_version_english;
std::wstring full_version_russian;
std::wstring running_product;
