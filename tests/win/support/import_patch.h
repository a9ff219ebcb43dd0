// Replaces one imported function of a loaded module for the lifetime of the object, so that
// a test can make a platform call fail.
#pragma once

#include <windows.h>

#include <cstring>

namespace testing_support {

class ImportPatch {
 public:
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dir.VirtualAddress && imp->Name;
         ++imp) {
      if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
      auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk
                                                                                         : imp->FirstThunk));
      for (; names->u1.AddressOfData; ++names, ++thunk) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
        slot_ = &thunk->u1.Function;
        original_ = *slot_;
        write(reinterpret_cast<ULONG_PTR>(replacement));
        return;
      }
    }
  }
  ~ImportPatch() {
    if (slot_) write(original_);
  }
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  bool active() const { return slot_ != nullptr; }

 private:
  void write(ULONG_PTR value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, old, &old);
  }
  decltype(IMAGE_THUNK_DATA::u1.Function)* slot_ = nullptr;
  ULONG_PTR original_ = 0;
};

}  // namespace testing_support
