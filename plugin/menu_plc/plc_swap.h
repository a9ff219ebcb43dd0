// The PLC database swap: ACADE works with the add-on's database while the plug-in is loaded.
#pragma once

// The host interface first: it brings in the framework, which must come before windows.h.
#include "frame/host_interface.h"
#include "win32/handles.h"

#include <string>

#include "menu_plc/plc_paths.h"

// Where the user's PLC database and its backup are for this release, under ACADE's documents
// folder `docs`; false when the release keeps it in a language folder and none holds it. The
// running build's language folder is looked in first (see plc_paths.h).
bool locate_plc_database(const std::wstring& docs, kvs::PlcPaths& paths);

// At load, before initPCL: the session lock (see plc_handoff.h), kept open until unload so
// that no update.exe puts the user's database back while this session works with the add-on's.
kvs::KernelHandle holdPlcSession();

// At start-up, once the release is known: moves the user's database aside as
// ace_plc_old.mdb and copies the add-on's in its place, unless a backup already exists or
// the add-on's database is missing. First prints, once, why the last restore failed, if it did.
void initPCL();

// At unload: starts the restore program, which puts the backup back after its wait.
void deinitPCL();
