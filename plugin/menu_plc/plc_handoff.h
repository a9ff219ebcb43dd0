// What the plug-in and update.exe share besides update's one argument and the two database
// files. Header only: update includes it and links nothing of the plug-in.
#pragma once

namespace kvs {

// An event that every loaded plug-in keeps open from load to unload. It exists while any
// session of the user has the add-on loaded; update restores only once it is gone.
const wchar_t kPlcSessionLock[] = L"Local\\Korvanta.PlcSession";

// Held around the plug-in's swap and update's restore, so that neither acts on the other's
// half-done work.
const wchar_t kPlcSwapMutex[] = L"Local\\Korvanta.PlcSwap";

// Left by update beside the backup when it cannot restore: the reason, in UTF-8, which the
// next load prints once and removes.
const wchar_t kPlcRestoreLog[] = L"ace_plc_restore.log";

}  // namespace kvs
