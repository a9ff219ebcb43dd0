// The add-on's installed files under C:\Program Files\Korvanta\ and the runs of its restore
// program, which the plug-in starts and nothing waits for.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

extern const wchar_t kInstalledUpdate[];    // C:\Program Files\Korvanta\support\update.exe
extern const wchar_t kInstalledDatabase[];  // C:\Program Files\Korvanta\Data\ace_plc.mdb

// Places the built update.exe and the add-on's placeholder database where the plug-in looks
// for them. On destruction ends the update.exe runs that wait for this test program (the
// plug-in unloaded in-process started them), waits for every other one to end, then puts
// back what was there before and removes the folders it made.
class KorvantaInstall {
 public:
  KorvantaInstall();
  ~KorvantaInstall();
  KorvantaInstall(const KorvantaInstall&) = delete;
  KorvantaInstall& operator=(const KorvantaInstall&) = delete;
  const std::string& databaseBytes() const { return database_; }

 private:
  struct Placed {
    std::wstring path;
    bool existed;
    std::string previous;
  };
  void place(const std::wstring& path, const std::string& bytes);
  std::string database_;
  std::vector<Placed> placed_;
  std::vector<std::wstring> madeFolders_;
};

// Ids of the running processes whose program is named update.exe.
std::vector<DWORD> runningUpdates();
// Waits until no update.exe runs; false when one still does after `timeoutMs`.
bool waitForUpdates(DWORD timeoutMs);

// Puts back, in every simulated profile of every release, a user's PLC database that a swap
// left aside as ace_plc_old.mdb, as update.exe would: each case then starts from the plain state.
void endSwaps();

}  // namespace testing_support
