// The add-on's application object: AutoCAD's initialisation and unload messages, and the
// handlers of the commands kvs_on, kvs_off, init_kvs, kvs_status, kvs_list and kvs_undo.
#pragma once

#include <string>

#include "common/release_globals.h"
#include "frame/arx_app.h"

class CKVS_switchApp : public AcRxArxApp {
 public:
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
  void RegisterServerComponents() override;

  // Makes sure the add-on's registry key HKCU\SOFTWARE\Korvanta exists.
  void checkRegistry();

  static void KVS_switchkvs_on();
  static void KVS_switchkvs_off();
  static void KVS_switchinit_kvs();
  static void KVS_switchkvs_status();
  static void KVS_switchkvs_list();
  static void KVS_switchkvs_undo();
};

extern CKVS_switchApp entryPointObject;

// Reads _VERNUM and sets the three release globals; false (after a message box) when the
// release is not supported.
bool identifyRelease();
