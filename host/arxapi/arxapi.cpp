// Stand-in for an SDK's link library (rxapi.lib): the version handshake every ObjectARX
// module exports, built once per family with that family's API major version. It is not
// exported here; the module exports it by name in its module-definition file, as it would
// the real library's.
extern "C" int acrxGetApiVersion() { return KVS_ARX_API_MAJOR << 16; }  // API <major>.0
