// The simulated file server (tools/slow-share, mapped by tools/wine-share start) as the
// tests and benchmarks under Wine see it: \\srv\projects, where every call waits and is counted.
#pragma once

#include <map>
#include <string>

namespace testing_support {

extern const wchar_t kShareRoot[];  // "\\srv\projects\"

// Empty when the share is served; else why not, for the skip or the benchmark to say.
std::wstring shareUnavailable();

// The calls the share served since the last look, by kind, with their "total"; the count
// starts again from nought. Empty when the share cannot be asked.
std::map<std::string, long> shareCalls();

// The user's roaming profile folder (%APPDATA%), as the shell folders name it, and set: an
// office that redirects it to a server has it on the share.
std::wstring roamingProfile();
void setRoamingProfile(const std::wstring& folder);

}  // namespace testing_support
