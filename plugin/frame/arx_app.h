// The ObjectARX application frame: AutoCAD's numbered application messages become calls of
// virtual handlers, and the module's commands and runtime classes are registered at
// initialisation and removed at unload.
#pragma once

#include "frame/host_interface.h"

struct _ARXCOMMAND_ENTRY {
  const ACHAR* pszCmdGroupName;
  const ACHAR* pszCmdGlobalName;
  const ACHAR* pszCmdLocalName;  // null: loaded from the resource id below
  Adesk::Int32 commandFlags;
  AcRxFunctionPtr pCmdFct;
  AcEdUIContext* pUIContext;
  UINT localNameID;
};

struct _DBX_REGISTER_OBJECT_ENTRY {
  AcRxClass* (*desc)();
  void (*rxInit)();
  bool bRegistered;
};

struct _ADSSYMBOL_ENTRY {
  const ACHAR* pszName;  // null: loaded from the resource id below
  int (*fptr)();
  bool bRegFunc;
  UINT nameID;
};

// A run of record pointers between two marker slots; null slots are skipped.
template <class Entry>
struct RegistrationTable {
  Entry** first;  // marker before the first record
  Entry** last;   // marker after the last record

  template <class F>
  void forEachSlot(F f) const {
    for (Entry** slot = first + 1; slot < last; ++slot)
      if (*slot) f(slot);
  }
};

// Defined by the application module.
extern const RegistrationTable<_ARXCOMMAND_ENTRY> arxCommandTable;
extern const RegistrationTable<_DBX_REGISTER_OBJECT_ENTRY> dbxClassTable;
extern const RegistrationTable<_ADSSYMBOL_ENTRY> adsSymbolTable;

extern HINSTANCE _hdllInstance;

class AcRxDbxApp {
 public:
  AcRxDbxApp() : m_hdllInstance(nullptr), m_bUnlockAppAtInit(true), m_bMDIAware(true) {}

  // Not virtual: AutoCAD's entry point calls it on the one application object.
  AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);

  virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kLoadDwgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kInvkSubrMsg(void* pkt);
  virtual AcRx::AppRetCode On_kCfgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kEndMsg(void* pkt);
  virtual AcRx::AppRetCode On_kQuitMsg(void* pkt);
  virtual AcRx::AppRetCode On_kSaveMsg(void* pkt);
  virtual AcRx::AppRetCode On_kDependencyMsg(void* pkt);
  virtual AcRx::AppRetCode On_kNoDependencyMsg(void* pkt);
  virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kPreQuitMsg(void* pkt);
  virtual AcRx::AppRetCode On_kInitDialogMsg(void* pkt);
  virtual AcRx::AppRetCode On_kEndDialogMsg(void* pkt);
  virtual AcRx::AppRetCode On_kNullMsg(void* pkt);
  virtual void RegisterServerComponents() = 0;

  void DeleteClassAndDescendant(_DBX_REGISTER_OBJECT_ENTRY** ppEntry);

 protected:
  HINSTANCE m_hdllInstance;
  bool m_bUnlockAppAtInit;
  bool m_bMDIAware;
};

class AcRxArxApp : public AcRxDbxApp {
 public:

  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
  AcRx::AppRetCode On_kLoadDwgMsg(void* pkt) override;
  AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt) override;
  AcRx::AppRetCode On_kInvkSubrMsg(void* pkt) override;

 private:
  const ACHAR* resourceString(UINT id, ACHAR (&buffer)[133]) const;
};
