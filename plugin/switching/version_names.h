// Names of the project versions kept before each switch, and which of them go. Platform-free.
//
// Each project has a folder of its own, named from its path without regard to letter case or
// outer blanks; each version is a file named by the UTC time it was kept, so that names sort
// as times do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvs {

// Versions kept per project.
const std::size_t kKeptVersions = 5;

// Times are milliseconds since 1601-01-01 UTC, as a FILETIME divided by 10,000.
typedef std::uint64_t KeptTime;

// Sixteen hexadecimal digits of a hash of the case-folded, trimmed path; attempt n > 0 adds
// "-n", for the rare path whose hash another project's folder already holds.
std::wstring kept_folder_name(const std::wstring& project, int attempt);

// "20250314T101502.123Z.kept".
std::wstring version_file_name(KeptTime time);
// The time a version file's name holds; false for any other name.
bool version_time(const std::wstring& file_name, KeptTime& time);
// "2025-03-14 10:15:02 UTC", for messages.
std::wstring readable_time(KeptTime time);

// The time for a new version: `now`, or just after the newest kept one when the clock says
// otherwise, so that the newest version always sorts last.
KeptTime next_version_time(KeptTime now, const std::vector<KeptTime>& kept);

// The versions beyond the newest `keep`, oldest first.
std::vector<KeptTime> versions_to_drop(std::vector<KeptTime> kept, std::size_t keep = kKeptVersions);

}  // namespace kvs
