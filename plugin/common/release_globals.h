// The running ACADE release, filled once at start-up by the release identification and read
// by every subsystem that builds a release's paths or registry keys.
#pragma once

#include <string>

extern std::wstring version;               // "2010" to "2027"
extern std::wstring full_version_english;  // e.g. "R20.0\ACAD-E007:409"
extern std::wstring full_version_russian;  // e.g. "R20.0\ACAD-E007:419"
// The product key of the build that runs, as AutoCAD gives it (its language decides the PLC
// folder), e.g. "Software\Autodesk\AutoCAD\R20.1\ACAD-F007:409"; empty when not known.
extern std::wstring running_product;
