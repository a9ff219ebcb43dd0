// The editor as an event source ("AcEditor" in the system registry) and its reactor base.
#pragma once

#include "rxevent.h"
#include "rxregsvc.h"

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

#define acedEditor AcEditor::cast(acrxSysRegistry()->at(ACAD_EDITOR_OBJ))
