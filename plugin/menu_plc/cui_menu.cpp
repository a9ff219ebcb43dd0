// The add-on's menu: init_kvs and the loading of Korvanta.cuix.
#include "frame/KVS_switchApp.h"

void CKVS_switchApp::KVS_switchinit_kvs() {}
