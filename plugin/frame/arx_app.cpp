#include "frame/arx_app.h"

AcRx::AppRetCode AcRxDbxApp::acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  switch (msg) {
    case AcRx::kNullMsg: return On_kNullMsg(pkt);
    case AcRx::kInitAppMsg: return On_kInitAppMsg(pkt);
    case AcRx::kUnloadAppMsg: return On_kUnloadAppMsg(pkt);
    case AcRx::kLoadDwgMsg: return On_kLoadDwgMsg(pkt);
    case AcRx::kUnloadDwgMsg: return On_kUnloadDwgMsg(pkt);
    case AcRx::kInvkSubrMsg: return On_kInvkSubrMsg(pkt);
    case AcRx::kCfgMsg: return On_kCfgMsg(pkt);
    case AcRx::kEndMsg: return On_kEndMsg(pkt);
    case AcRx::kQuitMsg: return On_kQuitMsg(pkt);
    case AcRx::kSaveMsg: return On_kSaveMsg(pkt);
    case AcRx::kDependencyMsg: return On_kDependencyMsg(pkt);
    case AcRx::kNoDependencyMsg: return On_kNoDependencyMsg(pkt);
    case AcRx::kOleUnloadAppMsg: return On_kOleUnloadAppMsg(pkt);
    case AcRx::kPreQuitMsg: return On_kPreQuitMsg(pkt);
    case AcRx::kInitDialogMsg: return On_kInitDialogMsg(pkt);
    case AcRx::kEndDialogMsg: return On_kEndDialogMsg(pkt);
    default: return AcRx::kRetOK;
  }
}

AcRx::AppRetCode AcRxDbxApp::On_kInitAppMsg(void* pkt) {
  m_hdllInstance = _hdllInstance;
  if (m_bUnlockAppAtInit) acrxDynamicLinker->unlockApplication(pkt);
  if (m_bMDIAware) acrxDynamicLinker->registerAppMDIAware(pkt);
  RegisterServerComponents();
  int registered = 0;
  dbxClassTable.forEachSlot([&](_DBX_REGISTER_OBJECT_ENTRY** slot) {
    ++registered;
    (*slot)->rxInit();
    (*slot)->bRegistered = true;
  });
  if (registered > 0) acrxBuildClassHierarchy();
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxDbxApp::On_kUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kCfgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kSaveMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNoDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kOleUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kPreQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInitDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNullMsg(void*) { return AcRx::kRetOK; }

void AcRxDbxApp::DeleteClassAndDescendant(_DBX_REGISTER_OBJECT_ENTRY** ppEntry) {
  // Children first, so that no registered class is left with a deleted parent.
  dbxClassTable.forEachSlot([&](_DBX_REGISTER_OBJECT_ENTRY** slot) {
    if (slot == ppEntry || !(*slot)->bRegistered) return;
    AcRxClass* cls = (*slot)->desc();
    if (cls && cls->myParent() == (*ppEntry)->desc()) DeleteClassAndDescendant(slot);
  });
  deleteAcRxClass((*ppEntry)->desc());
  (*ppEntry)->bRegistered = false;
}

const ACHAR* AcRxArxApp::resourceString(UINT id, ACHAR (&buffer)[133]) const {
  buffer[0] = L'\0';
  LoadStringW(m_hdllInstance, id, buffer, 132);
  return buffer;
}

AcRx::AppRetCode AcRxArxApp::On_kInitAppMsg(void* pkt) {
  AcRx::AppRetCode result = AcRxDbxApp::On_kInitAppMsg(pkt);
  arxCommandTable.forEachSlot([&](_ARXCOMMAND_ENTRY** slot) {
    const _ARXCOMMAND_ENTRY& e = **slot;
    ACHAR buffer[133];
    const ACHAR* localName = e.pszCmdLocalName ? e.pszCmdLocalName : resourceString(e.localNameID, buffer);
    HINSTANCE resources = (e.commandFlags & ACRX_CMD_SESSION) ? nullptr : m_hdllInstance;
    acedRegCmds->addCommand(e.pszCmdGroupName, e.pszCmdGlobalName, localName, e.commandFlags, e.pCmdFct,
                            e.pUIContext, -1, resources, nullptr);
  });
  return result;
}

AcRx::AppRetCode AcRxArxApp::On_kUnloadAppMsg(void* pkt) {
  (void)pkt;
  dbxClassTable.forEachSlot([&](_DBX_REGISTER_OBJECT_ENTRY** slot) {
    if ((*slot)->bRegistered) DeleteClassAndDescendant(slot);
  });
  arxCommandTable.forEachSlot([&](_ARXCOMMAND_ENTRY** slot) {
    acedRegCmds->removeCmd((*slot)->pszCmdGroupName, (*slot)->pszCmdGlobalName);
  });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kLoadDwgMsg(void*) {
  int index = 0;
  adsSymbolTable.forEachSlot([&](_ADSSYMBOL_ENTRY** slot) {
    ACHAR buffer[133];
    const ACHAR* name = (*slot)->pszName ? (*slot)->pszName : resourceString((*slot)->nameID, buffer);
    acedDefun(name, index);
    if ((*slot)->bRegFunc) acedRegFunc((*slot)->fptr, index);
    ++index;
  });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kUnloadDwgMsg(void*) {
  int index = 0;
  adsSymbolTable.forEachSlot([&](_ADSSYMBOL_ENTRY** slot) {
    ACHAR buffer[133];
    const ACHAR* name = (*slot)->pszName ? (*slot)->pszName : resourceString((*slot)->nameID, buffer);
    acedUndef(name, index);
    ++index;
  });
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxArxApp::On_kInvkSubrMsg(void*) {
  int code = acedGetFunCode();
  int index = 0;
  bool called = false;
  adsSymbolTable.forEachSlot([&](_ADSSYMBOL_ENTRY** slot) {
    if (called) return;
    if (index == code) {
      (*slot)->fptr();
      called = true;
    }
    ++index;
  });
  return AcRx::kRetOK;
}
