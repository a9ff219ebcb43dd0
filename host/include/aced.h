// The editor: its reactors, the editor object ("AcEditor" in the system registry) and the
// menu-group query. Result codes (adscodes.h) and the ADS functions (acedads.h, acutads.h)
// come from their own headers.
#pragma once

#include "rxboiler.h"
#include "rxdict.h"
#include "rxevent.h"

#define ACED_EDITOR_OBJ ACRX_T("AcEditor")

class AcDbDatabase;

class ACHOST_PORT AcEditorReactor : public AcRxEventReactor {
 public:
  ACRX_DECLARE_MEMBERS(AcEditorReactor);
  virtual void commandWillStart(const ACHAR* cmdStr);
  virtual void commandEnded(const ACHAR* cmdStr);
  virtual void commandCancelled(const ACHAR* cmdStr);
  virtual void commandFailed(const ACHAR* cmdStr);
  virtual void beginDwgOpen(ACHAR* filename);
  virtual void endDwgOpen(const ACHAR* filename, AcDbDatabase* pDb);
  virtual void dwgFileOpened(AcDbDatabase*, ACHAR* fileName);
  virtual void initialDwgFileOpenComplete(AcDbDatabase* pDwg);
  virtual void beginQuit();
  virtual void quitAborted();
  virtual void quitWillStart();

 protected:
  AcEditorReactor() = default;
};

class ACHOST_PORT AcEditor : public AcRxEvent {
 public:
  ACRX_DECLARE_MEMBERS(AcEditor);
};

#define acedEditor AcEditor::cast(acrxSysRegistry()->at(ACED_EDITOR_OBJ))

// True when a menu group of that name (any letter case) is loaded.
ACHOST_PORT Adesk::Boolean acedIsMenuGroupLoaded(const ACHAR* pszGroupName);
