#include "switching/version_names.h"

#include <algorithm>
#include <cwchar>

#include "common/path_fold.h"
#include "common/text_util.h"

namespace kvs {

namespace {

// Not a project's extension, so that no search for projects finds a kept version; versions
// kept by earlier versions of the add-on, named ".wdp", are still read.
const wchar_t kExtension[] = L".kept";
const wchar_t kEarlierExtension[] = L".wdp";
const std::size_t kStemSize = 20;
const KeptTime kMsPerDay = 86400000;
// Days from 1601-01-01 to 1970-01-01.
const std::int64_t kDays1601To1970 = 134774;

struct Civil {
  int year, month, day, hour, minute, second, ms;
};

// Days since 1970-01-01 to a proleptic Gregorian date and back, by 400-year eras.
void civil_from_days(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

std::int64_t days_from_civil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

Civil civil(KeptTime time) {
  Civil c = {0, 0, 0, 0, 0, 0, 0};
  civil_from_days(static_cast<std::int64_t>(time / kMsPerDay) - kDays1601To1970, c.year, c.month, c.day);
  KeptTime rest = time % kMsPerDay;
  c.ms = static_cast<int>(rest % 1000);
  rest /= 1000;
  c.second = static_cast<int>(rest % 60);
  c.minute = static_cast<int>(rest / 60 % 60);
  c.hour = static_cast<int>(rest / 3600);
  return c;
}

}  // namespace

std::wstring kept_folder_name(const std::wstring& project, int attempt) {
  // FNV-1a over the folded UTF-16 code units, low byte first.
  std::uint64_t hash = 14695981039346656037ull;
  const std::wstring path = trim(project);
  for (std::size_t i = 0; i < path.size(); ++i) {
    const unsigned unit = static_cast<unsigned>(fold_path_unit(path[i])) & 0xFFFF;
    const unsigned bytes[] = {unit & 0xFF, unit >> 8};
    for (std::size_t b = 0; b < 2; ++b) {
      hash ^= bytes[b];
      hash *= 1099511628211ull;
    }
  }
  wchar_t name[40];
  if (attempt > 0)
    std::swprintf(name, 40, L"%016llx-%d", static_cast<unsigned long long>(hash), attempt);
  else
    std::swprintf(name, 40, L"%016llx", static_cast<unsigned long long>(hash));
  return name;
}

std::wstring version_file_name(KeptTime time) {
  const Civil c = civil(time);
  wchar_t name[40];
  std::swprintf(name, 40, L"%04d%02d%02dT%02d%02d%02d.%03dZ", c.year, c.month, c.day, c.hour, c.minute, c.second,
                c.ms);
  return name + std::wstring(kExtension);
}

bool version_time(const std::wstring& file_name, KeptTime& time) {
  // "YYYYMMDDTHHMMSS.mmmZ" and the extension.
  const std::wstring extension = file_name.size() > kStemSize ? file_name.substr(kStemSize) : std::wstring();
  if ((extension != kExtension && extension != kEarlierExtension) || file_name[8] != L'T' || file_name[15] != L'.' ||
      file_name[19] != L'Z')
    return false;
  bool digits = true;
  const auto number = [&file_name, &digits](std::size_t at, std::size_t count) -> int {
    int n = 0;
    for (std::size_t i = at; i < at + count; ++i) {
      digits = digits && file_name[i] >= L'0' && file_name[i] <= L'9';
      n = n * 10 + (file_name[i] - L'0');
    }
    return n;
  };
  const int y = number(0, 4), mo = number(4, 2), d = number(6, 2), h = number(9, 2), mi = number(11, 2),
            s = number(13, 2), ms = number(16, 3);
  if (!digits || y < 1601) return false;
  const std::int64_t days = days_from_civil(y, mo, d) + kDays1601To1970;
  if (days < 0) return false;
  const KeptTime read = static_cast<KeptTime>(days) * kMsPerDay + ((h * 60ull + mi) * 60 + s) * 1000 + ms;
  // Only a real date and time gives its own name back: 20250230 or 25:00 do not.
  if (version_file_name(read).compare(0, kStemSize, file_name, 0, kStemSize) != 0) return false;
  time = read;
  return true;
}

std::wstring readable_time(KeptTime time) {
  const Civil c = civil(time);
  wchar_t text[40];
  std::swprintf(text, 40, L"%04d-%02d-%02d %02d:%02d:%02d UTC", c.year, c.month, c.day, c.hour, c.minute, c.second);
  return text;
}

KeptTime next_version_time(KeptTime now, const std::vector<KeptTime>& kept) {
  if (kept.empty()) return now;
  const KeptTime newest = *std::max_element(kept.begin(), kept.end());
  return now > newest ? now : newest + 1;
}

std::vector<KeptTime> versions_to_drop(std::vector<KeptTime> kept, std::size_t keep) {
  std::sort(kept.begin(), kept.end());
  kept.resize(kept.size() > keep ? kept.size() - keep : 0);
  return kept;
}

}  // namespace kvs
