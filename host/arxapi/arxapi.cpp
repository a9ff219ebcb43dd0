// Stand-in for the SDK's link library (rxapi.lib): the version handshake every ObjectARX
// module exports. It is not exported here; the module exports it by name in its
// module-definition file, as it would the real library's.
extern "C" int acrxGetApiVersion() { return 0x140000; }  // API 20.0
