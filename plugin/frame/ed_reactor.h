// The editor reactor: it watches commands, drawing opening and quitting, and passes each
// notification on to the editor's own handling.
#pragma once

#include "frame/host_interface.h"

class CEdReactor : public AcEditorReactor {
 public:
  explicit CEdReactor(bool autoInitAndRelease = true);
  ~CEdReactor() override;

  void dwgFileOpened(AcDbDatabase* param2, ACHAR* fileName) override;
  void initialDwgFileOpenComplete(AcDbDatabase* pDwg) override;
  void commandWillStart(const ACHAR* cmdStr) override;
  void beginDwgOpen(ACHAR* filename) override;
  void endDwgOpen(const ACHAR* filename, AcDbDatabase* pDb) override;
  void beginQuit() override;
  void quitWillStart() override;

  virtual void Attach();
  virtual void Detach();
  virtual AcEditor* Subject() const;
  virtual bool IsAttached() const;

 private:
  bool mbAutoInitAndRelease;  // true while registered with the editor
};

// The editor reactor made at start-up, kept so that unloading can take it down.
extern CEdReactor* pEdReactor;
