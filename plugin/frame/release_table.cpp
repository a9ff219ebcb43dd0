#include "frame/release_table.h"

namespace kvs {

namespace {
// There is no row for H: that release is not supported.
const ReleaseRow kRows[] = {
    {L"D.", L"2010", L"R18.0\\ACAD-8007:409", L"R18.0\\ACAD-8007:419"},
    {L"E.", L"2011", L"R18.1\\ACAD-9007:409", L"R18.1\\ACAD-9007:419"},
    {L"F.", L"2012", L"R18.2\\ACAD-A007:409", L"R18.2\\ACAD-A007:419"},
    {L"G.", L"2013", L"R19.0\\ACAD-B007:409", L"R19.0\\ACAD-B007:419"},
    {L"I.", L"2014", L"R19.1\\ACAD-D007:409", L"R19.1\\ACAD-D007:419"},
    {L"J.", L"2015", L"R20.0\\ACAD-E007:409", L"R20.0\\ACAD-E007:419"},
};
}  // namespace

const ReleaseRow* find_release(const std::wstring& vernum) {
  const ReleaseRow* found = nullptr;
  for (const auto& row : kRows)
    if (vernum.find(row.key) != std::wstring::npos) found = &row;
  return found;
}

}  // namespace kvs
